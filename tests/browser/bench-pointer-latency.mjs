// How long the workbench takes from a pointer event to the page showing its art, and how many bytes each
// drag event costs, in headless chromium against `zigzag serve`. Not a test: it prints a table.
//
//   node bench-pointer-latency.mjs [--earlier N,...] [--events N] [--interval MS] [--presets P,...] [--frames F]
//
//   --earlier   drags already in the document before the measured one (0,1000)
//   --events    pointer moves of the measured drag (300)
//   --interval  milliseconds between pointer moves, as a 125 Hz mouse or pen sends them (8)
//   --presets   settings to measure: "defaults" or a preset id of the options dialog (defaults,2,22)
//   --frames    "display": chromium draws frames at its display rate (60 Hz), so a frame can be waited for up
//               to 16.7 ms; "unthrottled": frames as fast as they come, as on a fast display (display)
//   ZIGZAG, CHROMIUM as for the tests.
//
// For every run a fresh server starts; the preset is chosen in the options dialog and OK; the earlier drags
// are drawn through the protocol with the same settings; then the page opens and the measured drag is made
// with the browser's own input. The page's trace hook (window.zz.trace, host/workbench/web/app.js) records
// for every pointer event the time its handler ran and the time of the first animation frame after the
// answer that drew it was applied; the latency is the difference. Bytes are the command's JSON body and the
// answer's JSON text (HTTP headers not counted), per drag command and per pointer event.
import { spawn } from 'node:child_process';
import { fileURLToPath } from 'node:url';
import path from 'node:path';
import { chromium } from 'playwright-core';

const here = path.dirname(fileURLToPath(import.meta.url));
const zigzag = process.env.ZIGZAG || path.join(here, '../../build/linux/zigzag');
const browserPath = process.env.CHROMIUM || '/usr/bin/chromium';

const options = { earlier: '0,1000', events: '300', interval: '8', presets: 'defaults,2,22', frames: 'display' };
for (let i = 2; i < process.argv.length; i += 2) {
  const key = process.argv[i].replace(/^--/, '');
  if (!(key in options) || i + 1 >= process.argv.length) {
    console.error(`usage: node bench-pointer-latency.mjs [--earlier N,...] [--events N] [--interval MS] [--presets P,...] [--frames display|unthrottled]`);
    process.exit(2);
  }
  options[key] = process.argv[i + 1];
}
const earlierCounts = options.earlier.split(',').map(Number);
const eventCount = Number(options.events);
const interval = Number(options.interval);
const presets = options.presets.split(',');
const unthrottled = options.frames === 'unthrottled';

function startServer() {
  return new Promise((resolve, reject) => {
    const server = spawn(zigzag, ['serve', '--port', '0'], { stdio: ['ignore', 'pipe', 'inherit'] });
    let seen = '';
    server.stdout.on('data', (chunk) => {
      seen += chunk;
      const found = seen.match(/Workbench: (http:\/\/\S+)/);
      if (found) resolve({ server, url: found[1] });
    });
    server.on('exit', (code) => reject(new Error(`zigzag serve ended with ${code}: ${seen}`)));
  });
}

async function post(url, command) {
  const response = await fetch(new URL('/api/command', url), { method: 'POST', body: JSON.stringify(command) });
  const answer = await response.json();
  if (!response.ok) throw new Error(`${command.do}: ${answer.error}`);
  return answer;
}

async function choosePreset(url, preset) {
  const opening = post(url, { do: 'editOptions' });
  while ((await post(url, { do: 'state' })).dialog === null) await new Promise((r) => setTimeout(r, 5));
  const chosen = await post(url, { do: 'dialog', action: 'choose', item: 3, entry: Number(preset) });
  if (chosen.refusal) throw new Error(`preset ${preset}: ${chosen.refusal}`);
  await post(url, { do: 'dialog', action: 'click', item: 1 });
  const closed = await opening;
  if (closed.closedWith !== 1) throw new Error(`preset ${preset}: the dialog ended with ${closed.closedWith}`);
}

// Earlier drags, ten steps each, over a grid across the page.
async function drawEarlier(url, count) {
  for (let i = 0; i < count; ++i) {
    const x = 20 + (i % 25) * 23, y = 760 - (Math.floor(i / 25) % 40) * 18;
    await post(url, { do: 'mouseDown', at: [x, y] });
    for (let step = 1; step <= 10; ++step) await post(url, { do: 'drag', to: [x + step * 6, y - step * 4] });
    await post(url, { do: 'mouseUp' });
  }
}

const quantile = (sorted, q) => sorted[Math.min(sorted.length - 1, Math.floor(q * sorted.length))];
const mean = (values) => values.reduce((a, b) => a + b, 0) / values.length;

async function measure(browser, preset, earlier) {
  const { server, url } = await startServer();
  try {
    if (preset !== 'defaults') await choosePreset(url, preset);
    await drawEarlier(url, earlier);
    const art = (await post(url, { do: 'state', since: 0 })).delta.placed.length;
    const page = await browser.newPage({ viewport: { width: 1200, height: 900 } });
    await page.goto(url);
    await page.waitForFunction(() => window.zz && window.zz.revision > 0 && !window.zz.drag);
    await page.evaluate(() => window.zz.busy);
    const box = await page.$eval('#board', (b) => { const r = b.getBoundingClientRect(); return [r.left, r.top]; });
    await page.evaluate(() => { window.zz.trace = []; });

    const cdp = await page.context().newCDPSession(page);
    const input = (type, x, y, buttons) => cdp.send('Input.dispatchMouseEvent',
      { type, x, y, button: type === 'mouseMoved' && !buttons ? 'none' : 'left', buttons, clickCount: 1 });
    const start = [box[0] + 150, box[1] + 120];
    await input('mouseMoved', ...start, 0);
    await input('mousePressed', ...start, 1);
    const began = performance.now();
    for (let i = 1; i <= eventCount; ++i) {
      // A drag that sweeps back and forth, so that every event changes the art.
      const x = start[0] + 60 + (i * 7) % 300, y = start[1] + 60 + (i * 13) % 400;
      await input('mouseMoved', x, y, 1);
      const due = began + i * interval;
      const wait = due - performance.now();
      if (wait > 0) await new Promise((r) => setTimeout(r, wait));
    }
    await input('mouseReleased', start[0] + 200, start[1] + 200, 0);
    await page.waitForFunction(() => window.zz.drag === null);
    await page.evaluate(() => window.zz.busy);
    await page.waitForTimeout(50); // the last animation frame
    const trace = await page.evaluate(() => window.zz.trace);
    await cdp.detach();
    await page.close();

    const latency = trace.map((t) => t.painted - t.dispatched).sort((a, b) => a - b);
    const applied = trace.map((t) => t.applied - t.dispatched).sort((a, b) => a - b);
    const roundTrip = trace.map((t) => t.applied - t.sentAt).sort((a, b) => a - b);
    const fromInput = trace.map((t) => t.painted - t.input).sort((a, b) => a - b);
    const commands = trace.filter((t, i) => i === 0 || t.command !== trace[i - 1].command);
    return {
      preset, earlier, art, events: trace.length, commands: commands.length,
      p50: quantile(latency, 0.5), p95: quantile(latency, 0.95), max: latency[latency.length - 1],
      inputP95: quantile(fromInput, 0.95),
      appliedP50: quantile(applied, 0.5), appliedP95: quantile(applied, 0.95),
      roundTripP50: quantile(roundTrip, 0.5), roundTripP95: quantile(roundTrip, 0.95),
      sentPerCommand: mean(commands.map((t) => t.sent)), receivedPerCommand: mean(commands.map((t) => t.received)),
      sentPerEvent: commands.reduce((a, t) => a + t.sent, 0) / trace.length,
      receivedPerEvent: commands.reduce((a, t) => a + t.received, 0) / trace.length,
    };
  } finally {
    server.kill('SIGTERM');
  }
}

const browser = await chromium.launch({
  executablePath: browserPath,
  args: ['--no-sandbox', ...(unthrottled ? ['--disable-frame-rate-limit', '--disable-gpu-vsync'] : [])],
});
const rows = [];
try {
  for (const preset of presets)
    for (const earlier of earlierCounts) {
      const row = await measure(browser, preset, earlier);
      rows.push(row);
      console.error(`measured ${preset} with ${earlier} earlier drags`);
    }
} finally {
  await browser.close();
}
const columns = [
  ['settings', (r) => r.preset], ['earlier', (r) => r.earlier], ['art before', (r) => r.art],
  ['events', (r) => r.events], ['commands', (r) => r.commands],
  ['painted p50', (r) => r.p50.toFixed(1)], ['painted p95', (r) => r.p95.toFixed(1)],
  ['max', (r) => r.max.toFixed(1)],
  ['applied p50', (r) => r.appliedP50.toFixed(1)], ['applied p95', (r) => r.appliedP95.toFixed(1)],
  ['fetch p50', (r) => r.roundTripP50.toFixed(1)], ['fetch p95', (r) => r.roundTripP95.toFixed(1)],
  ['from input p95', (r) => r.inputP95.toFixed(1)],
  ['sent/cmd', (r) => r.sentPerCommand.toFixed(0)], ['answer/cmd', (r) => r.receivedPerCommand.toFixed(0)],
  ['sent/event', (r) => r.sentPerEvent.toFixed(0)], ['answer/event', (r) => r.receivedPerEvent.toFixed(0)],
];
console.log(`pointer event to art on the page: ${eventCount} moves every ${interval} ms` +
            `${unthrottled ? ', frames unthrottled' : ''}; times in ms from the page's handler (painted: first ` +
            'animation frame after the answer is applied; applied: the answer in the picture; fetch: the command\'s ' +
            'round trip); bytes of JSON');
const cells = [columns.map(([name]) => name), ...rows.map((r) => columns.map(([, value]) => String(value(r))))];
const widths = columns.map((_, c) => Math.max(...cells.map((row) => row[c].length)));
for (const row of cells) console.log(row.map((cell, c) => (c === 0 ? cell.padEnd(widths[c]) : cell.padStart(widths[c]))).join('  '));
