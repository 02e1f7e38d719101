// The workbench in a real browser: Debian's chromium, driven by playwright-core, against `zigzag serve`.
// A drag draws the default zigzag, Ctrl+Z takes it away, and a preset chosen in the options dialog and OK
// changes the next drag.
//
//   ZIGZAG     the zigzag command (default: build/linux/zigzag of this repository)
//   CHROMIUM   the browser (default: /usr/bin/chromium)
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { spawn } from 'node:child_process';
import { fileURLToPath } from 'node:url';
import path from 'node:path';
import { chromium } from 'playwright-core';

const here = path.dirname(fileURLToPath(import.meta.url));
const zigzag = process.env.ZIGZAG || path.join(here, '../../build/linux/zigzag');
const browserPath = process.env.CHROMIUM || '/usr/bin/chromium';

let server, url, browser, page;

function startServer() {
  return new Promise((resolve, reject) => {
    server = spawn(zigzag, ['serve', '--port', '0'], { stdio: ['ignore', 'pipe', 'inherit'] });
    let seen = '';
    server.stdout.on('data', (chunk) => {
      seen += chunk;
      const found = seen.match(/Workbench: (http:\/\/\S+)/);
      if (found) resolve(found[1]);
    });
    server.on('exit', (code) => reject(new Error(`zigzag serve ended with ${code}: ${seen}`)));
  });
}

before(async () => {
  url = await startServer();
  browser = await chromium.launch({ executablePath: browserPath, args: ['--no-sandbox'] });
  page = await browser.newPage({ viewport: { width: 1200, height: 900 } });
  await page.goto(url);
  await page.waitForFunction(() => window.zz && window.zz.revision > 0);
});

after(async () => {
  if (browser) await browser.close();
  if (server) server.kill('SIGINT');
});

// The screen point of document point (x, y), y up.
async function screenPoint(x, y) {
  return page.evaluate(([x, y]) => {
    const box = document.getElementById('board').getBoundingClientRect();
    const v = window.zz.view;
    return [box.left + v.x + x * v.scale, box.top + v.y + (window.zz.page[1] - y) * v.scale];
  }, [x, y]);
}

async function drag(from, to) {
  const start = await screenPoint(...from);
  const end = await screenPoint(...to);
  await page.mouse.move(...start);
  await page.mouse.down();
  await page.mouse.move(...end, { steps: 8 });
  await page.mouse.up();
  // Everything the page sent has been answered.
  await page.waitForFunction(() => window.zz.drag === null);
  await page.evaluate(() => window.zz.busy);
}

const paths = () => page.$$eval('#layer path', (all) => all.map((p) => p.getAttribute('d')));
const sides = (d) => (d.match(/L/g) || []).length;

test('the page shows the tool with the module\'s icon and cursor', async () => {
  const icon = await page.$eval('#toolIcon', (img) => img.complete && img.naturalWidth);
  assert.equal(icon, 32);
  const cursor = await page.$eval('#board', (board) => board.style.cursor);
  assert.match(cursor, /url\(.*\/api\/cursor\.png.*\) 16 15/);
});

test('a drag draws the default zigzag', async () => {
  await drag([100, 700], [300, 500]);
  const drawn = await paths();
  assert.equal(drawn.length, 1);
  assert.ok(drawn[0].startsWith('M100 92L300 102L100'), drawn[0]);
  assert.equal(sides(drawn[0]), 29); // ten elements of three points
});

test('Ctrl+Z takes the drag away and Ctrl+Shift+Z brings it back', async () => {
  await page.keyboard.press('Control+z');
  await page.waitForFunction(() => document.querySelectorAll('#layer path').length === 0);
  await page.keyboard.press('Control+Shift+z');
  await page.waitForFunction(() => document.querySelectorAll('#layer path').length === 1);
  await page.click('#undo');
  await page.waitForFunction(() => document.querySelectorAll('#layer path').length === 0);
});

test('a preset chosen in the options dialog and OK changes the next drag', async () => {
  await page.dblclick('#tool');
  await page.waitForSelector('#dialogBackdrop:not([hidden])');
  assert.equal(await page.textContent('#dialogTitle'), 'ZigzagTool');
  // The design lists show the module's thumbnails.
  await page.waitForFunction(() => [...document.querySelectorAll('#dialogBody .list img')]
    .some((img) => img.complete && img.naturalWidth === 48));
  await page.selectOption('#dialogBody select[data-item="3"]', '14');
  await page.waitForFunction(() => document.querySelector('#dialogBody input[data-item="4"]').value === '30');
  await page.click('#dialogBody button[data-item="1"]');
  await page.waitForSelector('#dialogBackdrop', { state: 'hidden' });

  await drag([100, 700], [300, 500]);
  const drawn = await paths();
  assert.equal(drawn.length, 1);
  assert.equal(sides(drawn[0]), 89); // thirty elements
});

test('a second page sees the first page\'s drawing', async () => {
  const other = await browser.newPage();
  await other.goto(url);
  await other.waitForFunction(() => document.querySelectorAll('#layer path').length === 1);
  await page.keyboard.press('Control+z');
  await other.waitForFunction(() => document.querySelectorAll('#layer path').length === 0);
  await other.close();
});

test('a page closed mid-drag ends its drag at once', async () => {
  const other = await browser.newPage();
  await other.goto(url);
  await other.waitForFunction(() => window.zz && window.zz.revision > 0);
  const box = await other.$eval('#board', (b) => { const r = b.getBoundingClientRect(); return [r.left, r.top]; });
  await other.mouse.move(box[0] + 150, box[1] + 150);
  await other.mouse.down();
  await other.mouse.move(box[0] + 350, box[1] + 400, { steps: 4 });
  await other.waitForFunction(() => window.zz.drag && !window.zz.drag.inFlight && !window.zz.drag.pending);
  await other.close({ runBeforeUnload: true });
  // Well before the drag time-out (5 s), the host has ended the drag: one more undo step, no drag open.
  const started = Date.now();
  let answer;
  do {
    answer = await page.evaluate(() => fetch('/api/command', { method: 'POST', body: '{"do":"state"}' })
      .then((r) => r.json()));
  } while (answer.dragging && Date.now() - started < 2000);
  assert.equal(answer.dragging, false);
  await page.evaluate(() => fetch('/api/command', { method: 'POST', body: '{"do":"undo"}' }));
});

test('drag round trips from the page (printed)', async () => {
  const times = await page.evaluate(async () => {
    const post = (command) => fetch('/api/command', { method: 'POST', body: JSON.stringify(command) })
      .then((r) => r.json());
    let revision = (await post({ do: 'state' })).revision;
    await post({ do: 'mouseDown', at: [100, 700] });
    const times = [];
    for (let i = 0; i < 200; ++i) {
      const start = performance.now();
      const answer = await post({ do: 'drag', to: [300 + (i % 50), 500 - (i % 40)], since: revision });
      times.push(performance.now() - start);
      revision = answer.revision;
    }
    await post({ do: 'mouseUp' });
    await post({ do: 'undo' });
    return times.sort((a, b) => a - b);
  });
  const at = (q) => times[Math.min(times.length - 1, Math.floor(q * times.length))].toFixed(2);
  console.log(`drag round trip over ${times.length} commands: median ${at(0.5)} ms, p90 ${at(0.9)} ms, max ${at(1)} ms`);
  assert.ok(times.length === 200);
});
