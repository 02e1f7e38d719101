// The README's pictures of the workbench, taken in headless chromium against `zigzag serve`:
//   docs/workbench.png         the page with a drawing made by dragging with the tool
//   docs/workbench-dialog.png  the options dialog open over it
//
//   node screenshots.mjs [OUTPUT_FOLDER]   (default: docs/ of this repository; ZIGZAG, CHROMIUM as for the tests)
import { spawn } from 'node:child_process';
import { fileURLToPath } from 'node:url';
import path from 'node:path';
import os from 'node:os';
import fs from 'node:fs';
import { chromium } from 'playwright-core';

const here = path.dirname(fileURLToPath(import.meta.url));
const zigzag = process.env.ZIGZAG || path.join(here, '../../build/linux/zigzag');
const browserPath = process.env.CHROMIUM || '/usr/bin/chromium';
const folder = process.argv[2] || path.join(here, '../../docs');

const server = spawn(zigzag, ['serve', '--port', '0', '--documents', fs.mkdtempSync(path.join(os.tmpdir(), 'zz-documents-'))], { stdio: ['ignore', 'pipe', 'inherit'] });
const url = await new Promise((resolve, reject) => {
  let seen = '';
  server.stdout.on('data', (chunk) => {
    seen += chunk;
    const found = seen.match(/Workbench: (http:\/\/\S+)/);
    if (found) resolve(found[1]);
  });
  server.on('exit', (code) => reject(new Error(`zigzag serve ended with ${code}: ${seen}`)));
});

const browser = await chromium.launch({ executablePath: browserPath, args: ['--no-sandbox'] });
try {
  const page = await browser.newPage({ viewport: { width: 1280, height: 800 } });
  await page.goto(url);
  await page.waitForFunction(() => window.zz && window.zz.revision > 0);

  const screenPoint = (x, y) => page.evaluate(([x, y]) => {
    const box = document.getElementById('board').getBoundingClientRect();
    const v = window.zz.view;
    return [box.left + v.x + x * v.scale, box.top + v.y + (window.zz.page[1] - y) * v.scale];
  }, [x, y]);
  const drag = async (from, to) => {
    await page.mouse.move(...await screenPoint(...from));
    await page.mouse.down();
    await page.mouse.move(...await screenPoint(...to), { steps: 12 });
    await page.mouse.up();
    await page.waitForFunction(() => !window.zz.dragOpen);
    await page.evaluate(() => window.zz.settled());
  };
  const preset = async (id) => {
    await page.dblclick('#tool');
    await page.waitForSelector('#dialogBackdrop:not([hidden])');
    await page.selectOption('#dialogBody select[data-item="3"]', String(id));
    await page.click('#dialogBody button[data-item="1"]');
    await page.waitForSelector('#dialogBackdrop', { state: 'hidden' });
  };

  // A document whose new art is filled blue and stroked dark, made with the page's own form.
  await page.click('#newDoc summary');
  await page.fill('#newDocForm input[name="fill"]', '#3b8fd0');
  await page.fill('#newDocForm input[name="stroke"]', '#12324d');
  await page.click('#newDocForm button[type="submit"]');
  await page.waitForFunction(() => !document.getElementById('newDoc').open);
  await page.evaluate(() => window.zz.settled());
  // The whole page in view, at the size of a designer's window.
  await page.click('#zoomFit');
  await drag([50, 750], [280, 560]);
  await preset(25);
  await drag([330, 750], [560, 560]);
  await preset(14);
  await drag([50, 500], [280, 300]);
  await preset(6);
  await drag([330, 500], [560, 300]);
  await preset(26);
  await drag([50, 240], [560, 60]);
  await page.mouse.move(...await screenPoint(590, 40));
  await page.screenshot({ path: path.join(folder, 'workbench.png') });

  await page.dblclick('#tool');
  await page.waitForSelector('#dialogBackdrop:not([hidden])');
  await page.waitForFunction(() => [...document.querySelectorAll('#dialogBody .list img')]
    .every((img) => img.complete));
  await page.screenshot({ path: path.join(folder, 'workbench-dialog.png') });
  await page.click('#dialogBody button[data-item="2"]');
  await page.waitForSelector('#dialogBackdrop', { state: 'hidden' });

  // The drawing renamed, and the documents Open lists once a second one is begun: the first with the
  // thumbnail made of it when it was left.
  await page.click('#fileMenu summary');
  await page.click('#renameDoc');
  await page.fill('#docNameInput', 'Zigzag showcase');
  await page.press('#docNameInput', 'Enter');
  await page.waitForFunction(() => document.getElementById('docName').textContent === 'Zigzag showcase');
  await page.click('#newDoc summary');
  await page.click('#newDocForm button[type="submit"]');
  await page.waitForFunction(() => document.getElementById('docName').textContent === 'Untitled 2');
  await drag([100, 600], [400, 300]);
  for (let tries = 0; ; ++tries) {
    await page.click('#fileMenu summary');
    await page.click('#openDocs');
    await page.waitForSelector('#documentsBackdrop:not([hidden])');
    if (await page.$('#documentList li:not(.current) img') || tries === 20) break;
    await page.click('#closeDocs');
    await new Promise((resolve) => setTimeout(resolve, 500));
  }
  await page.waitForFunction(() => [...document.querySelectorAll('#documentList img')].every((img) => img.complete));
  await page.screenshot({ path: path.join(folder, 'workbench-documents.png') });
  console.log(`wrote workbench.png, workbench-dialog.png and workbench-documents.png in ${folder}`);
} finally {
  await browser.close();
  server.kill('SIGTERM');
}
