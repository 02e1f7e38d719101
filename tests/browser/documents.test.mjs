// Drawings that last: a server killed with SIGKILL in the middle of a session comes back with the last
// finished change, byte for byte, and the page's document controls make, open, rename, copy, delete and
// restore documents without losing any.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { spawn } from 'node:child_process';
import { fileURLToPath } from 'node:url';
import path from 'node:path';
import fs from 'node:fs';
import os from 'node:os';
import { chromium } from 'playwright-core';

const here = path.dirname(fileURLToPath(import.meta.url));
const zigzag = process.env.ZIGZAG || path.join(here, '../../build/linux/zigzag');
const browserPath = process.env.CHROMIUM || '/usr/bin/chromium';
let browser;
const servers = [];

function startServer(folder) {
  return new Promise((resolve, reject) => {
    const child = spawn(zigzag, ['serve', '--port', '0', '--documents', folder],
                        { stdio: ['ignore', 'pipe', 'inherit'] });
    let seen = '';
    child.stdout.on('data', (chunk) => {
      seen += chunk;
      const found = seen.match(/Workbench: (http:\/\/\S+)/);
      if (found) {
        servers.push(child);
        resolve({ child, url: found[1] });
      }
    });
    child.on('exit', (code) => reject(new Error(`zigzag serve ended with ${code}: ${seen}`)));
  });
}

async function openPage(url) {
  const page = await browser.newPage({ viewport: { width: 1280, height: 800 } });
  await page.goto(url);
  await page.waitForFunction(() => window.zz && window.zz.revision > 0 && window.zz.file);
  return page;
}

const exportSvg = (page) => page.evaluate(() => window.zz.fetchText('/api/export.svg'));
const send = (page, command) => page.evaluate((c) => window.zz.send(c), command);
async function drag(page, from, to) {
  await send(page, { do: 'mouseDown', at: from });
  for (let i = 1; i <= 5; ++i)
    await send(page, { do: 'drag', to: [from[0] + (to[0] - from[0]) * i / 5, from[1] + (to[1] - from[1]) * i / 5] });
  await send(page, { do: 'mouseUp' });
}

before(async () => {
  browser = await chromium.launch({ executablePath: browserPath, args: ['--no-sandbox'] });
});
after(async () => {
  if (browser) await browser.close();
  for (const child of servers) child.kill('SIGKILL');
});

test('a server killed mid-drag comes back with the last finished change, byte for byte', async () => {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'zz-kept-'));
  let server = await startServer(folder);
  let page = await openPage(server.url);
  await drag(page, [100, 700], [300, 500]);
  await drag(page, [50, 100], [400, 300]);
  await send(page, { do: 'undo' });
  // The options dialog, accepted with a preset of thirty elements.
  const options = page.evaluate(() => window.zz.send({ do: 'editOptions' }));
  await page.waitForSelector('#dialogBackdrop:not([hidden])');
  await send(page, { do: 'dialog', action: 'select', item: 3, entry: 14 });
  await send(page, { do: 'dialog', action: 'click', item: 1 });
  await options;
  await drag(page, [200, 650], [500, 150]);
  const committed = await exportSvg(page);
  const { id } = await page.evaluate(() => window.zz.file);
  // A drag in progress when the server dies.
  await send(page, { do: 'mouseDown', at: [10, 10] });
  await send(page, { do: 'drag', to: [300, 300] });
  server.child.kill('SIGKILL');
  await new Promise((resolve) => server.child.once('exit', resolve));
  await page.close();

  server = await startServer(folder);
  page = await openPage(server.url);
  assert.equal((await page.evaluate(() => window.zz.file)).id, id);
  assert.equal(await exportSvg(page), committed);
  assert.equal(await page.evaluate(() => window.zz.undo), 2, 'a drag (the second undone) and the drag after the dialog');
  assert.equal(await page.evaluate(() => window.zz.redo), 0, 'the dialog and the drag after it ended the redo');
  assert.equal(await page.textContent('#docName'), 'Untitled');
  await page.close();
  server.child.kill('SIGTERM');
  await new Promise((resolve) => server.child.once('exit', resolve));
});

test('New keeps the drawing; Open, Rename, Duplicate, Delete and Restore from the page', async () => {
  const server = await startServer(fs.mkdtempSync(path.join(os.tmpdir(), 'zz-kept-')));
  const page = await openPage(server.url);
  await drag(page, [100, 700], [300, 500]);
  const first = await page.evaluate(() => window.zz.file);
  const drawn = await exportSvg(page);

  await page.click('#newDoc summary');
  await page.click('#newDocForm button[type=submit]');
  await page.waitForFunction((id) => window.zz.file.id !== id, first.id);
  assert.equal(await page.textContent('#docName'), 'Untitled 2');
  await drag(page, [20, 20], [200, 300]);

  // Rename in place.
  await page.click('#fileMenu summary');
  await page.click('#renameDoc');
  await page.fill('#docNameInput', 'Zigzag study');
  await page.press('#docNameInput', 'Enter');
  await page.waitForFunction(() => document.getElementById('docName').textContent === 'Zigzag study');

  // Open lists both, the open one marked; opening the first brings its drawing back.
  await page.click('#fileMenu summary');
  await page.click('#openDocs');
  await page.waitForSelector('#documentsBackdrop:not([hidden])');
  const names = await page.$$eval('#documentList li .name', (all) => all.map((one) => one.textContent));
  assert.deepEqual(names.sort(), ['Untitled', 'Zigzag study']);
  assert.equal(await page.textContent('#documentList li.current .name'), 'Zigzag study');
  await page.click(`#documentList li[data-id="${first.id}"] button`);
  await page.waitForFunction((id) => window.zz.file.id === id, first.id);
  await page.evaluate(() => window.zz.settled());
  assert.equal(await exportSvg(page), drawn);

  // Duplicate leaves a copy to open; Delete moves the open one to the recycle bin and shows another.
  await page.click('#fileMenu summary');
  await page.click('#duplicateDoc');
  await page.waitForFunction(() => /copy/.test(document.getElementById('status').textContent));
  await page.click('#fileMenu summary');
  await page.click('#deleteDoc');
  await page.waitForFunction((id) => window.zz.file.id !== id, first.id);
  await page.click('#fileMenu summary');
  await page.click('#openDocs');
  await page.waitForSelector('#documentsBackdrop:not([hidden])');
  const open = await page.$$eval('#documentList li .name', (all) => all.map((one) => one.textContent));
  assert.deepEqual(open.sort(), ['Untitled copy', 'Zigzag study']);
  assert.equal(await page.textContent('#recycledList li .name'), 'Untitled');
  await page.click('#recycleBin summary');
  await page.click('#recycledList li button');
  await page.waitForFunction(() => document.querySelectorAll('#documentList li').length === 3);
  assert.equal(await page.$$eval('#recycledList li', (all) => all.length), 0);
  await page.close();
  server.child.kill('SIGTERM');
  await new Promise((resolve) => server.child.once('exit', resolve));
});
