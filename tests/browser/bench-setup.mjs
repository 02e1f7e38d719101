// What the benchmarks share: a fresh `zigzag serve`, and a document made through a page's socket (a preset
// chosen in the options dialog, earlier drags over a grid across the page), all through the page's hook
// (window.zz, see apps/workbench/web/main.js).
//
//   ZIGZAG, CHROMIUM as for the tests.
import { spawn } from 'node:child_process';
import { fileURLToPath } from 'node:url';
import path from 'node:path';
import os from 'node:os';
import fs from 'node:fs';

const here = path.dirname(fileURLToPath(import.meta.url));
export const zigzag = process.env.ZIGZAG || path.join(here, '../../build/linux/zigzag');
export const browserPath = process.env.CHROMIUM || '/usr/bin/chromium';

// A `zigzag serve` on a free port; resolves with the process and the address it prints.
export function startServer() {
  return new Promise((resolve, reject) => {
    const server = spawn(zigzag, ['serve', '--port', '0', '--documents', fs.mkdtempSync(path.join(os.tmpdir(), 'zz-documents-'))], { stdio: ['ignore', 'pipe', 'inherit'] });
    let seen = '';
    server.stdout.on('data', (chunk) => {
      seen += chunk;
      const found = seen.match(/Workbench: (http:\/\/\S+)/);
      if (found) resolve({ server, url: found[1] });
    });
    server.on('exit', (code, signal) => {
      // Once it has started, an end not asked for is said on stderr, since a run then fails for it.
      if (!server.killed) console.error(`zigzag serve ended by itself: status ${code}, signal ${signal}`);
      reject(new Error(`zigzag serve ended with ${code}: ${seen}`));
    });
  });
}

// Chooses `preset` in the options dialog and OK, through `page`'s socket.
export function choosePreset(page, preset) {
  return page.evaluate(async (preset) => {
    // The host opens the dialog on editOptions and takes the dialog's commands that follow it.
    const opening = window.zz.send({ do: 'editOptions' });
    const chosen = await window.zz.send({ do: 'dialog', action: 'select', item: 3, entry: preset });
    if (chosen.refusal) throw new Error(`preset ${preset}: ${chosen.refusal}`);
    await window.zz.send({ do: 'dialog', action: 'click', item: 1 });
    const closed = await opening;
    if (closed.closedWith !== 1) throw new Error(`preset ${preset}: the dialog ended with ${closed.closedWith}`);
  }, Number(preset));
}

// Earlier drags, ten steps each, over a grid across the page, through `page`'s socket: every command goes
// without waiting for the one before (the host takes them in order). How many art objects the layer then
// holds.
export function drawEarlier(page, count) {
  return page.evaluate(async (count) => {
    const send = (command) => window.zz.send(command).catch((error) => { throw new Error(`${command.do}: ${error.message}`); });
    const sent = [];
    for (let i = 0; i < count; ++i) {
      const x = 20 + (i % 25) * 23, y = 760 - (Math.floor(i / 25) % 40) * 18;
      sent.push(send({ do: 'mouseDown', at: [x, y] }));
      for (let step = 1; step <= 10; ++step) sent.push(send({ do: 'drag', to: [x + step * 6, y - step * 4] }));
      sent.push(send({ do: 'mouseUp' }));
    }
    await Promise.all(sent);
    return (await window.zz.send({ do: 'state', since: 0 })).delta.placed.length;
  }, count);
}

// A document of `earlier` drags with `preset` ("defaults" or a preset id) on `url`'s server, made by a page
// of `browser` that closes again. How many art objects the layer holds.
export async function makeDocument(browser, url, preset, earlier) {
  const setup = await browser.newPage();
  try {
    await setup.goto(url);
    await setup.waitForFunction(() => window.zz && window.zz.revision > 0);
    if (preset !== 'defaults') await choosePreset(setup, preset);
    return await drawEarlier(setup, earlier);
  } finally {
    await setup.close();
  }
}

export const quantile = (sorted, q) => sorted[Math.min(sorted.length - 1, Math.floor(q * sorted.length))];
export const mean = (values) => values.reduce((a, b) => a + b, 0) / values.length;
export const sum = (values) => values.reduce((a, b) => a + b, 0);

// Prints `rows` as a table of `columns` ([name, row => value]), the first column left-aligned.
export function printTable(columns, rows) {
  const cells = [columns.map(([name]) => name), ...rows.map((r) => columns.map(([, value]) => String(value(r))))];
  const widths = columns.map((_, c) => Math.max(...cells.map((row) => row[c].length)));
  for (const row of cells) {
    console.log(row.map((cell, c) => (c === 0 ? cell.padEnd(widths[c]) : cell.padStart(widths[c]))).join('  '));
  }
}

// Reads `--key value` pairs from the command line into `options`, whose keys are the ones known; anything
// else prints `usage` and ends the process with status 2.
export function readOptions(options, usage) {
  for (let i = 2; i < process.argv.length; i += 2) {
    const key = process.argv[i].replace(/^--/, '');
    if (!(key in options) || i + 1 >= process.argv.length) {
      console.error(usage);
      process.exit(2);
    }
    options[key] = process.argv[i + 1];
  }
  return options;
}
