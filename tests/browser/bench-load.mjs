// How long a page takes to load a large document, in headless chromium against `zigzag serve`: from the
// navigation to the document's art painted. Not a test: it prints a table.
//
//   node bench-load.mjs [--earlier N,...] [--preset P] [--loads N] [--profile yes|no]
//
//   --earlier  drags in the document (1000: with preset 2, 40 separate closed paths each, 40,000 paths)
//   --preset   the settings the drags are made with: "defaults" or a preset id of the options dialog (2)
//   --loads    pages opened one after another on each document, each measured (3)
//   --profile  "yes": record a chromium trace of each load and print the CPU time of the renderer's main
//              thread and of its raster workers, and when the display first drew the art (no)
//   ZIGZAG, CHROMIUM as for the tests.
//
// For every document a fresh server starts and a first page draws the drags through its socket (see
// bench-setup.mjs); then pages are opened on it, one at a time, in a window of 1200 x 900. A script that
// runs before the page's own (a CDP init script, which the page's content security policy does not govern)
// watches the page's one socket and its frames. Times are in ms from the start of the navigation:
//   sent       the page's "state" command went (the page has loaded its modules and been greeted)
//   arrived    its answer, the whole document, arrived (its size: "answer MB")
//   applied    the first animation frame after the document's art is in the picture (the artboard's
//              data-art-count shows all of it): the answer parsed and its art built and inserted
//   painted    the task after that frame's rendering steps (style, layout, paint, the hand-over to the
//              compositor) ran: what a person sees once raster and display follow
//   on screen  the second animation frame after that: a frame's commit waits for the frame before it to be
//              rastered, so by then the art is on the screen
//   picture    the settled art shown as one picture of itself (scene.js), when the page makes one
// "parse" is JSON.parse of the answer's text alone, timed in the page after the load; "host CPU" the CPU time
// `zigzag serve` used from the navigation to "on screen" (10 ms steps).
import fs from 'node:fs';
import { chromium } from 'playwright-core';
import { browserPath, startServer, makeDocument, printTable, sum, readOptions } from './bench-setup.mjs';

const options = { earlier: '1000', preset: '2', loads: '3', profile: 'no' };
const usage = 'usage: node bench-load.mjs [--earlier N,...] [--preset P] [--loads N] [--profile yes|no]';
readOptions(options, usage);
if (!['yes', 'no'].includes(options.profile)) {
  console.error(usage);
  process.exit(2);
}

// Runs in the page before its modules: notes when the "state" command goes and when its answer comes, and
// watches every frame for the art count the artboard shows.
function watchLoad() {
  const seen = { sent: null, arrived: null, bytes: 0, text: null, applied: null, painted: null, next: null,
                 picture: null };
  window.zzLoad = seen;
  const Native = window.WebSocket;
  window.WebSocket = class extends Native {
    constructor(...args) {
      super(...args);
      this.addEventListener('message', (event) => {
        if (seen.sent !== null && seen.arrived === null && event.data.length > seen.bytes) {
          seen.arrived = performance.now();
          seen.bytes = event.data.length;
          seen.text = event.data;
        }
      });
    }
    send(data) {
      if (seen.sent === null && /"do":"state"/.test(data)) seen.sent = performance.now();
      super.send(data);
    }
  };
  const frame = () => {
    const board = document.getElementById('board');
    if (board && seen.applied === null && seen.arrived !== null && Number(board.dataset.artCount) >= seen.expected) {
      seen.applied = performance.now();
      const channel = new MessageChannel();
      channel.port1.onmessage = () => {
        seen.painted = performance.now();
        // A frame's commit waits for the one before it to be rastered: two frames on, it is on the screen.
        requestAnimationFrame(() => requestAnimationFrame(() => { seen.next = performance.now(); }));
      };
      channel.port2.postMessage(null);
    }
    if (board && seen.picture === null && board.dataset.snapshot === 'shown') seen.picture = performance.now();
    if (seen.picture === null) requestAnimationFrame(frame);
  };
  requestAnimationFrame(frame);
}

// CPU time (thread time, which other processes on a busy machine do not inflate) during a chromium trace of a
// load, in ms: the renderer's main thread up to `painted` (ms from the navigation) and the raster workers'
// whole; and when, from the navigation, the display compositor first drew after `painted`.
function renderCost(trace, painted) {
  const events = (trace.traceEvents || trace).filter((e) => e.ph === 'X' && e.dur !== undefined);
  const frames = new Map();
  for (const e of events) {
    if (e.name === 'ProxyMain::BeginMainFrame') frames.set(`${e.pid}:${e.tid}`, (frames.get(`${e.pid}:${e.tid}`) || 0) + 1);
  }
  const [main] = [...frames].sort((a, b) => b[1] - a[1])[0] || [''];
  const pid = Number(main.split(':')[0]);
  const all = trace.traceEvents || trace;
  const start = (all.find((e) => e.name === 'navigationStart') || { ts: Math.min(...events.map((e) => e.ts)) }).ts;
  const cpu = (list) => sum(list.map((e) => (e.tdur === undefined ? e.dur : e.tdur))) / 1000;
  const drawn = events.filter((e) => e.name === 'Display::DrawAndSwap' && (e.ts - start) / 1000 > painted)
    .map((e) => (e.ts + e.dur - start) / 1000);
  return {
    mainCpu: cpu(events.filter((e) => e.name === 'ThreadControllerImpl::RunTask' && `${e.pid}:${e.tid}` === main &&
                                     (e.ts - start) / 1000 < painted)),
    rasterCpu: cpu(events.filter((e) => e.name === 'RasterTask' && e.pid === pid)),
    drawn: drawn.length ? Math.min(...drawn) : null,
  };
}

// The CPU time a process has used so far, in ms (Linux).
function processCpu(pid) {
  const fields = fs.readFileSync(`/proc/${pid}/stat`, 'utf8').replace(/^.*\) /, '').split(' ');
  return (Number(fields[11]) + Number(fields[12])) * 10;
}

async function load(browser, server, url, expected, profiling) {
  const page = await browser.newPage({ viewport: { width: 1200, height: 900 } });
  try {
    await page.addInitScript(watchLoad);
    await page.addInitScript((expected) => { window.zzLoad.expected = expected; }, expected);
    if (profiling) {
      await browser.startTracing(page, { categories: ['toplevel', 'cc', 'viz', 'blink.user_timing',
                                                      'disabled-by-default-devtools.timeline'] });
    }
    const hostBefore = processCpu(server.pid);
    await page.goto(url);
    await page.waitForFunction(() => window.zzLoad.next !== null, null, { timeout: 120000, polling: 100 });
    const hostCpu = processCpu(server.pid) - hostBefore;
    await page.waitForFunction(() => window.zzLoad.picture !== null, null, { timeout: 120000, polling: 100 })
      .catch(() => {});
    const seen = await page.evaluate(() => {
      const { text, ...times } = window.zzLoad;
      const began = performance.now();
      JSON.parse(text);
      return { ...times, parse: performance.now() - began };
    });
    const profile = profiling ? renderCost(JSON.parse(await browser.stopTracing()), seen.painted) : null;
    return { ...seen, hostCpu, profile };
  } finally {
    await page.close();
  }
}

const browser = await chromium.launch({ executablePath: browserPath, args: ['--no-sandbox'] });
const rows = [];
try {
  for (const earlier of options.earlier.split(',').map(Number)) {
    const { server, url } = await startServer();
    try {
      const art = await makeDocument(browser, url, options.preset, earlier);
      const paths = art; // every art object of these drags is a path on the layer
      console.error(`made ${earlier} drags with ${options.preset}: ${art} art objects`);
      for (let i = 0; i < Number(options.loads); ++i) {
        const last = i === Number(options.loads) - 1;
        const seen = await load(browser, server, url, paths, options.profile === 'yes');
        rows.push({ earlier, art, load: i + 1, ...seen });
      }
    } finally {
      server.kill('SIGTERM');
    }
  }
} finally {
  await browser.close();
}

const fixed = (value) => (value === null || value === undefined ? 'n/a' : value.toFixed(0));
console.log(`loading a document in a page: settings ${options.preset}; ms from the start of the navigation`);
printTable([
  ['earlier', (r) => r.earlier], ['art', (r) => r.art], ['load', (r) => r.load],
  ['answer MB', (r) => (r.bytes / 1e6).toFixed(2)],
  ['sent', (r) => fixed(r.sent)], ['arrived', (r) => fixed(r.arrived)], ['applied', (r) => fixed(r.applied)],
  ['painted', (r) => fixed(r.painted)], ['on screen', (r) => fixed(r.next)], ['picture', (r) => fixed(r.picture)],
  ['host', (r) => fixed(r.arrived - r.sent)], ['parse', (r) => fixed(r.parse)],
  ['page', (r) => fixed(r.applied - r.arrived)], ['render', (r) => fixed(r.painted - r.applied)],
  ['host CPU', (r) => fixed(r.hostCpu)],
], rows);
if (options.profile === 'yes') {
  console.log('\nCPU time in ms, which a busy machine does not inflate (thread time): the renderer\'s main thread ' +
              'up to painted, the raster workers\' in all; drawn: when the display compositor first drew after ' +
              'painted (ms from the navigation)');
  printTable([
    ['earlier', (r) => r.earlier], ['load', (r) => r.load], ['host CPU', (r) => fixed(r.hostCpu)],
    ['main CPU', (r) => fixed(r.profile.mainCpu)], ['raster CPU', (r) => fixed(r.profile.rasterCpu)],
    ['drawn', (r) => fixed(r.profile.drawn)],
  ], rows);
}
