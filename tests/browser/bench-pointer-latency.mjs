// How long the workbench takes from a pointer event to the page showing its art, and how many bytes each
// drag event costs, in headless chromium against `zigzag serve`. Not a test: it prints a table.
//
//   node bench-pointer-latency.mjs [--earlier N,...] [--events N] [--interval MS] [--presets P,...] [--frames F]
//                                  [--input I] [--profile yes|no]
//
//   --earlier   drags already in the document before the measured one (0,1000)
//   --events    pointer moves of the measured drag (300)
//   --interval  milliseconds between pointer moves, as a 125 Hz mouse or pen sends them (8)
//   --presets   settings to measure: "defaults" or a preset id of the options dialog (defaults,2,22)
//   --frames    "display": chromium draws frames at its display rate (60 Hz), so a frame can be waited for up
//               to 16.7 ms; "unthrottled": frames as fast as they come, as on a fast display
//               (--disable-frame-rate-limit --disable-gpu-vsync) (display)
//   --input     "cdp": the drag goes through the browser's own input pipeline (CDP Input.dispatchMouseEvent),
//               which also schedules the frames after each input event; "page": a small driver inside the page
//               dispatches the drag's pointer events (pointerdown, pointerrawupdate and pointermove, pointerup)
//               on the artboard from a timer, which leaves chromium's input-to-frame pacing out: with
//               "--frames unthrottled" that measures what the workbench itself adds (cdp)
//   --profile   "yes": record a chromium trace of the measured drag and print, per rendered frame, where the
//               page's renderer spent its time (style, layout, paint, layerize, commit on the main thread,
//               raster on the raster workers, draw in the display compositor). Tracing slows chromium down:
//               the latencies of a profiled run are not those of a plain one (no)
//   ZIGZAG, CHROMIUM as for the tests.
//
// For every run a fresh server starts; a first page chooses the preset in the options dialog and OK and
// draws the earlier drags with the same settings, all through its hook's send (window.zz, see
// apps/workbench/web/main.js); it closes, the measured page opens and the measured drag is made. That page's
// latency trace (apps/workbench/web/trace.js, loaded by window.zz.startTrace()) records for every pointer
// event:
//   dispatched  when the page's pointer event handler ran (performance.now())
//   applied     when the answer that drew the event was applied to the page's picture
//   frame       when the first animation frame callback after that ran
//   painted     when the task after that frame's rendering steps ran: style, layout, paint, layerize and the
//               commit to the compositor are done on the main thread. Raster (worker threads) and display
//               (GPU process) come after it and are not in it; --profile shows what they cost.
// The latencies are differences to `dispatched`: `painted` the pointer event to its art painted, `applied`
// the event to its art in the picture; `render` is from applied to painted (what the page itself adds: waiting
// for the frame and rendering it), `trip` the command's round trip over the socket; `from input` is painted
// against the event's own time stamp. `apply` is the time applying each delta took. Bytes are the command's
// JSON text and the answer's (WebSocket frame headers not counted), per drag command and per pointer event.
import { chromium } from 'playwright-core';
import { browserPath, startServer, makeDocument, quantile, mean, sum, printTable, readOptions } from './bench-setup.mjs';

const options = {
  earlier: '0,1000', events: '300', interval: '8', presets: 'defaults,2,22', frames: 'display', input: 'cdp',
  profile: 'no',
};
const usage = 'usage: node bench-pointer-latency.mjs [--earlier N,...] [--events N] [--interval MS] ' +
  '[--presets P,...] [--frames display|unthrottled] [--input cdp|page] [--profile yes|no]';
readOptions(options, usage);
if (!['display', 'unthrottled'].includes(options.frames) || !['cdp', 'page'].includes(options.input) ||
    !['yes', 'no'].includes(options.profile)) {
  console.error(usage);
  process.exit(2);
}
const earlierCounts = options.earlier.split(',').map(Number);
const eventCount = Number(options.events);
const interval = Number(options.interval);
const presets = options.presets.split(',');
const unthrottled = options.frames === 'unthrottled';
const profiling = options.profile === 'yes';

// The measured drag through chromium's input pipeline: the pointer is moved to `start` and pressed there, moved
// through `points` every `interval` ms and released at `end`.
async function dragThroughBrowser(page, start, points, end) {
  const cdp = await page.context().newCDPSession(page);
  const input = (type, [x, y], buttons) => cdp.send('Input.dispatchMouseEvent',
    { type, x, y, button: type === 'mouseMoved' && !buttons ? 'none' : 'left', buttons, clickCount: 1 });
  await input('mouseMoved', start, 0);
  await input('mousePressed', start, 1);
  const began = performance.now();
  for (let i = 0; i < points.length; ++i) {
    await input('mouseMoved', points[i], 1);
    const wait = began + (i + 1) * interval - performance.now();
    if (wait > 0) await new Promise((r) => setTimeout(r, wait));
  }
  await input('mouseReleased', end, 0);
  await cdp.detach();
}

// The same drag dispatched by the page itself: pointer events on the artboard from a timer, as chromium
// would dispatch a mouse's (pointerrawupdate where the browser has it, then pointermove), with no input
// pipeline and no frame scheduled by the input. Resolves when the pointer is up.
function dragInPage(page, start, points, end) {
  return page.evaluate(({ start, points, end, interval }) => new Promise((resolve) => {
    const board = document.getElementById('board');
    const fire = (type, [clientX, clientY], buttons) => board.dispatchEvent(new PointerEvent(type, {
      bubbles: true, cancelable: type !== 'pointerrawupdate', composed: true, pointerId: 1, pointerType: 'mouse',
      isPrimary: true, button: type === 'pointerdown' || type === 'pointerup' ? 0 : -1, buttons, clientX, clientY,
    }));
    const rawUpdates = 'onpointerrawupdate' in window;
    fire('pointerdown', start, 1);
    const began = performance.now();
    let next = 0;
    const step = () => {
      if (next === points.length) {
        fire('pointerup', end, 0);
        resolve();
        return;
      }
      const point = points[next++];
      if (rawUpdates) fire('pointerrawupdate', point, 1);
      fire('pointermove', point, 1);
      setTimeout(step, Math.max(0, began + (next + 1) * interval - performance.now()));
    };
    setTimeout(step, interval);
  }), { start, points, end, interval });
}

// Where the page's renderer spent its time during a chromium trace, in ms: the renderer is the process whose
// main thread began the most frames.
function renderingCost(trace) {
  const events = (trace.traceEvents || trace).filter((e) => e.ph === 'X' && e.dur !== undefined);
  const frames = new Map();
  for (const e of events) {
    const thread = `${e.pid}:${e.tid}`;
    if (e.name === 'ProxyMain::BeginMainFrame') frames.set(thread, (frames.get(thread) || 0) + 1);
  }
  const [main] = [...frames].sort((a, b) => b[1] - a[1])[0] || ['', 0];
  const pid = Number(main.split(':')[0]);
  const onMain = (name) => events.filter((e) => e.name === name && `${e.pid}:${e.tid}` === main);
  const ms = (list) => sum(list.map((e) => e.dur)) / 1000;
  const beginFrames = onMain('ProxyMain::BeginMainFrame');
  const raster = events.filter((e) => e.name === 'RasterTask' && e.pid === pid);
  return {
    frames: beginFrames.length,
    frameP95: quantile(beginFrames.map((e) => e.dur / 1000).sort((a, b) => a - b), 0.95) || 0,
    mainTasks: ms(onMain('ThreadControllerImpl::RunTask')),
    frameWork: ms(beginFrames),
    style: ms(onMain('UpdateLayoutTree')),
    layout: ms(onMain('Layout')),
    prePaint: ms(onMain('PrePaint')),
    paint: ms(onMain('LocalFrameView::RunPaintLifecyclePhase')) -
      ms(onMain('LocalFrameView::pushPaintArtifactToCompositor')),
    layerize: ms(onMain('LocalFrameView::pushPaintArtifactToCompositor')),
    commit: ms(onMain('ProxyMain::BeginMainFrame::commit')),
    raster: ms(raster),
    tiles: raster.length,
    draw: ms(events.filter((e) => e.name === 'Display::DrawAndSwap')),
  };
}

async function measure(browser, preset, earlier) {
  const { server, url } = await startServer();
  try {
    const art = await makeDocument(browser, url, preset, earlier);
    const page = await browser.newPage({ viewport: { width: 1200, height: 900 } });
    await page.goto(url);
    await page.waitForFunction(() => window.zz && window.zz.revision > 0 && !window.zz.dragOpen);
    await page.evaluate(() => window.zz.settled());
    // The same view in every run: a point a pixel (the page opens fitted to the window).
    await page.evaluate(() => window.zz.view.set({ scale: 1, x: 40, y: 20 }));
    await page.evaluate(() => window.zz.startTrace());
    // As a person who opens a document and then draws: the page has settled, its large art shown as one
    // picture, before the measured drag begins.
    await page.waitForFunction(() => {
      const board = document.getElementById('board');
      return board.dataset.snapshot === 'shown' || Number(board.dataset.artCount) < window.zz.snapshot.minimum;
    }, null, { timeout: 60000 });
    // ... and drawn: two frames for the picture to be painted, and a while for it to be rastered.
    await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve))));
    await page.waitForTimeout(500);
    const box = await page.$eval('#board', (b) => { const r = b.getBoundingClientRect(); return [r.left, r.top]; });

    const start = [box[0] + 150, box[1] + 120];
    // A drag that sweeps back and forth, so that every event changes the art.
    const points = Array.from({ length: eventCount },
      (_, i) => [start[0] + 60 + ((i + 1) * 7) % 300, start[1] + 60 + ((i + 1) * 13) % 400]);
    const end = [start[0] + 200, start[1] + 200];
    if (profiling) {
      await browser.startTracing(page, { categories: ['devtools.timeline', 'disabled-by-default-devtools.timeline',
                                                      'toplevel', 'blink', 'cc', 'viz'] });
    }
    if (options.input === 'page') await dragInPage(page, start, points, end);
    else await dragThroughBrowser(page, start, points, end);
    await page.waitForFunction(() => !window.zz.dragOpen);
    await page.evaluate(() => window.zz.settled());
    await page.waitForTimeout(50); // the last animation frame
    const profile = profiling ? renderingCost(JSON.parse(await browser.stopTracing())) : null;
    const { events: trace, apply } = await page.evaluate(() => window.zz.stopTrace());
    const applyTimes = apply.sort((a, b) => a - b);
    await page.close();

    const latency = trace.map((t) => t.painted - t.dispatched).sort((a, b) => a - b);
    const framed = trace.map((t) => t.frame - t.dispatched).sort((a, b) => a - b);
    const applied = trace.map((t) => t.applied - t.dispatched).sort((a, b) => a - b);
    const rendered = trace.map((t) => t.painted - t.applied).sort((a, b) => a - b);
    const roundTrip = trace.map((t) => t.applied - t.sentAt).sort((a, b) => a - b);
    const fromInput = trace.map((t) => t.painted - t.input).sort((a, b) => a - b);
    const commands = trace.filter((t, i) => i === 0 || t.command !== trace[i - 1].command);
    return {
      preset, earlier, art, events: trace.length, commands: commands.length, profile,
      p50: quantile(latency, 0.5), p95: quantile(latency, 0.95), max: latency[latency.length - 1],
      frameP95: quantile(framed, 0.95), inputP95: quantile(fromInput, 0.95),
      appliedP50: quantile(applied, 0.5), appliedP95: quantile(applied, 0.95),
      renderP50: quantile(rendered, 0.5), renderP95: quantile(rendered, 0.95),
      roundTripP50: quantile(roundTrip, 0.5), roundTripP95: quantile(roundTrip, 0.95),
      applyP50: quantile(applyTimes, 0.5), applyP95: quantile(applyTimes, 0.95),
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

const fixed = (value) => (value === undefined ? 'n/a' : value.toFixed(1));
console.log(`pointer event to art on the page: ${eventCount} moves every ${interval} ms, input ${options.input}, ` +
            `frames ${options.frames}${profiling ? ', traced' : ''}; times in ms from the page's handler (painted: ` +
            'the rendering steps of the first frame after the answer is applied; frame: that frame\'s animation ' +
            'frame callback; applied: the answer in the picture; render: from applied to painted; trip: the ' +
            'command\'s round trip over the socket; apply: applying a delta); bytes of JSON');
printTable([
  ['settings', (r) => r.preset], ['earlier', (r) => r.earlier], ['art before', (r) => r.art],
  ['events', (r) => r.events], ['commands', (r) => r.commands],
  ['painted p50', (r) => fixed(r.p50)], ['painted p95', (r) => fixed(r.p95)], ['max', (r) => fixed(r.max)],
  ['frame p95', (r) => fixed(r.frameP95)],
  ['applied p50', (r) => fixed(r.appliedP50)], ['applied p95', (r) => fixed(r.appliedP95)],
  ['render p50', (r) => fixed(r.renderP50)], ['render p95', (r) => fixed(r.renderP95)],
  ['trip p50', (r) => fixed(r.roundTripP50)], ['trip p95', (r) => fixed(r.roundTripP95)],
  ['apply p50', (r) => fixed(r.applyP50)], ['apply p95', (r) => fixed(r.applyP95)],
  ['from input p95', (r) => fixed(r.inputP95)],
  ['sent/cmd', (r) => r.sentPerCommand.toFixed(0)], ['answer/cmd', (r) => r.receivedPerCommand.toFixed(0)],
  ['sent/event', (r) => r.sentPerEvent.toFixed(0)], ['answer/event', (r) => r.receivedPerEvent.toFixed(0)],
], rows);
if (profiling) {
  console.log('\nwhere the renderer spent its time during the drag, ms per frame the page rendered (main: all tasks ' +
              'of the main thread, frame: the rendering steps of a frame, of which style, layout, pre-paint, ' +
              'paint, layerize and commit; raster: raster tasks on the workers; draw: the display compositor)');
  const per = (r, key) => (r.profile.frames ? (r.profile[key] / r.profile.frames).toFixed(2) : 'n/a');
  printTable([
    ['settings', (r) => r.preset], ['earlier', (r) => r.earlier], ['frames', (r) => r.profile.frames],
    ['main', (r) => per(r, 'mainTasks')], ['frame', (r) => per(r, 'frameWork')],
    ['frame p95', (r) => r.profile.frameP95.toFixed(2)],
    ['style', (r) => per(r, 'style')], ['layout', (r) => per(r, 'layout')], ['pre-paint', (r) => per(r, 'prePaint')],
    ['paint', (r) => per(r, 'paint')], ['layerize', (r) => per(r, 'layerize')], ['commit', (r) => per(r, 'commit')],
    ['raster', (r) => per(r, 'raster')], ['tiles', (r) => per(r, 'tiles')], ['draw', (r) => per(r, 'draw')],
  ], rows);
}
