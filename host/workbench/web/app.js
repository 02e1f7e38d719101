// The workbench page: the artboard, the toolbox with the zigzag tool and the options dialog, all drawn from
// what the host answers. The host holds the one document; this page keeps a picture of it up to date by
// applying the deltas the host sends back (see host/workbench/DeltaJson.h).
'use strict';

const SVG = 'http://www.w3.org/2000/svg';
// The modifier word the host's tracker reports: Shift, Alt (Option), Ctrl.
const SHIFT = 0x20, ALT = 0x40, CTRL = 0x200;

const board = document.getElementById('board');
const pageRect = document.getElementById('page');
const statusLine = document.getElementById('status');

const state = {
  revision: 0,
  page: [612, 792],
  elements: new Map(), // art id -> SVG element
  blended: new Set(),  // ids of the art drawn with a blend mode
  view: { scale: 1, x: 40, y: 20 },
  drag: null,          // the drag in progress: { pointerId, pending, inFlight }
  busy: Promise.resolve(),
  dialog: null,
  cursor: null,
  undo: 0,
  redo: 0,
  // Set to an array, it collects one record per pointer event of a drag (benchmarks read it): `dispatched`,
  // the performance.now() when the page's handler ran, `input`, the event's own time stamp, `sentAt`, when its
  // command was handed on to go out, `applied`, when its answer was in the picture, `frame`, the time in the
  // first animation frame after that, `painted`, when that frame's rendering steps (style, layout, paint and
  // the hand-over to the compositor) were done, and the bytes of the command that carried it (`sent`, the
  // body) and of its answer (`received`), shared by every event that command coalesced (`coalesced`) and
  // numbered by `command`.
  trace: null,
};
window.zz = state; // for people and browser tests looking in

function setStatus(text) { statusLine.textContent = text; }

// ---- talking to the host ----------------------------------------------------------------------------------

// XMLHttpRequest rather than fetch: in chromium its round trip is the shorter by a few milliseconds, which a
// drag feels.
function post(command) {
  const body = JSON.stringify(command);
  return new Promise((resolve, reject) => {
    const request = new XMLHttpRequest();
    request.open('POST', '/api/command');
    request.setRequestHeader('Content-Type', 'application/json');
    request.onerror = () => reject(new Error('the host cannot be reached'));
    request.onload = () => {
      const type = request.getResponseHeader('Content-Type') || '';
      const text = request.responseText;
      let answer;
      try {
        answer = type.startsWith('application/json') ? JSON.parse(text) : { ok: request.status < 300 };
      } catch (error) {
        reject(error);
        return;
      }
      if (request.status >= 300) {
        reject(Object.assign(new Error(answer.error || request.statusText), { status: request.status }));
        return;
      }
      Object.defineProperty(answer, 'bytes', { value: { sent: body.length, received: text.length } });
      resolve(answer);
    };
    request.send(body);
  });
}

// Document commands go over the host's WebSocket when it is open: in chromium a message and its answer take
// well under a millisecond where an HTTP request takes several. Answers come back in the order sent. The
// dialog's commands, which may wait for a person, stay on HTTP.
const channel = { socket: null, waiting: [] };

function openChannel() {
  return fetch('/api/channel')
    .then((response) => response.json())
    .then((info) => new Promise((resolve) => {
      if (!info.socket) { resolve(); return; }
      const socket = new WebSocket(`ws://${location.hostname}:${info.socket.port}${info.socket.path}`);
      socket.onopen = () => { channel.socket = socket; resolve(); };
      socket.onerror = () => resolve(); // commands stay on HTTP
      socket.onmessage = (event) => {
        const waiter = channel.waiting.shift();
        if (waiter) waiter(event.data);
      };
      socket.onclose = () => {
        if (channel.socket === socket) setStatus('the connection to the host closed; commands now go over HTTP');
        channel.socket = null;
        for (const waiter of channel.waiting.splice(0)) waiter(null);
      };
    }))
    .catch(() => {});
}

function postOnSocket(command) {
  const body = JSON.stringify(command);
  return new Promise((resolve, reject) => {
    channel.waiting.push((text) => {
      if (text === null) { reject(new Error('the host cannot be reached')); return; }
      let answer;
      try { answer = JSON.parse(text); } catch (error) { reject(error); return; }
      if (answer.ok === false) {
        reject(Object.assign(new Error(answer.error), { status: answer.http }));
        return;
      }
      Object.defineProperty(answer, 'bytes', { value: { sent: body.length, received: text.length } });
      resolve(answer);
    });
    channel.socket.send(body);
  });
}

// Document commands go one at a time, each carrying the revision the page holds, so that every delta
// applies to the picture it was made against.
function send(command) {
  const run = state.busy.then(async () => {
    const withRevision = { ...command, since: state.revision };
    const answer = await (channel.socket ? postOnSocket(withRevision) : post(withRevision));
    take(answer);
    return answer;
  });
  state.busy = run.catch(() => {});
  return run;
}

function take(answer) {
  if (answer.delta) applyDelta(answer.delta);
  if ('undo' in answer) {
    state.undo = answer.undo; state.redo = answer.redo;
    document.getElementById('undo').disabled = answer.undo === 0;
    document.getElementById('redo').disabled = answer.redo === 0;
  }
}

function sync() { return send({ do: 'state' }).then(showState).catch(fail); }

function fail(error) { setStatus(error.message); }

// ---- the picture of the document ----------------------------------------------------------------------
//
// The layer's art is drawn in groups under the same document transform: `under`, in the artboard's own SVG
// above the page; `settled`, in an SVG of its own over it; the over groups, each in an SVG of its own, on top.
// Each SVG is a compositing layer of its own (app.css). The layer's art, bottom to top, is the children of
// under, then of settled, then of the over groups in turn. Between drags all of it is settled. During a drag
// the art the drag places on top of everything goes over, and art it places at the bottom goes under, so that
// each of its events repaints and rasters only what it changes, and the settled art, which can be tens of
// thousands of paths, is neither painted nor rastered again. A drag that keeps adding art on top (a trail)
// fills one over group after another, so that each event rasters a few of its paths, not all of them. Art
// placed between settled art is placed there: correct first, fast second. When the drag has ended, the first
// answer applied brings all art back into settled and drops the over groups but the first.
//
// A blend mode mixes art with everything below it, which a separate layer would not hold: while any art has
// one, all art is drawn under, over the page, as one picture.

const under = document.getElementById('under');
const settled = document.getElementById('settled');
const settledPicture = document.getElementById('settledPicture');
const overs = [document.getElementById('over')];
// How many art objects an over group holds before the art a drag puts on top of it starts the next one: a
// trail's event then rasters only its newest group, while a drag that re-makes some tens of paths per event
// keeps them in one layer (more layers cost each frame more than they save).
state.overGroupSize = 64;

function setPage(size) {
  state.page = size;
  pageRect.setAttribute('width', size[0]);
  pageRect.setAttribute('height', size[1]);
}

function paintAttributes(el, art) {
  if (art.t === 'path') {
    el.setAttribute('d', art.d);
    el.setAttribute('fill', art.fill);
    el.setAttribute('stroke', art.stroke);
    for (const [key, name] of [['sw', 'stroke-width'], ['rule', 'fill-rule'], ['cap', 'stroke-linecap'],
                               ['join', 'stroke-linejoin']]) {
      if (key in art) el.setAttribute(name, art[key]); else el.removeAttribute(name);
    }
  }
  if ('op' in art) el.setAttribute('opacity', art.op); else el.removeAttribute('opacity');
  el.style.mixBlendMode = art.blend || '';
  if (art.blend) state.blended.add(art.id); else state.blended.delete(art.id);
}

function build(art) {
  const el = document.createElementNS(SVG, art.t === 'path' ? 'path' : 'g');
  el.dataset.id = art.id;
  paintAttributes(el, art);
  state.elements.set(art.id, el);
  for (const child of art.children || []) el.appendChild(build(child));
  return el;
}

function forget(el) {
  for (const gone of [el, ...el.querySelectorAll('[data-id]')]) {
    const id = Number(gone.dataset.id);
    state.elements.delete(id);
    state.blended.delete(id);
  }
  el.remove();
}

// Over and under take the drag's art while the page drags and no art blends.
function layered() { return state.drag !== null && state.blended.size === 0; }

// Where all art goes when the layers merge: settled, or under when art blends with what is below it.
function home() { return state.blended.size === 0 ? settled : under; }

// The over group above `group`, made when there is none.
function nextOver(group) {
  const at = overs.indexOf(group) + 1;
  if (at < overs.length) return overs[at];
  const layer = document.createElementNS(SVG, 'svg');
  layer.setAttribute('class', 'art-layer');
  layer.setAttribute('aria-hidden', 'true');
  const view = document.createElementNS(SVG, 'g');
  view.setAttribute('class', 'view');
  view.setAttribute('transform', viewTransform());
  const next = document.createElementNS(SVG, 'g');
  next.setAttribute('class', 'art over');
  view.appendChild(next);
  layer.appendChild(view);
  group.ownerSVGElement.after(layer);
  overs.push(next);
  return next;
}

// Puts layer art directly above `below` (null: at the bottom of the layer). During a live drag, art on top of
// all other art goes to the over groups, and art at the bottom of the layer goes under (or over, when nothing
// is under or settled), so that neither touches the settled art.
function placeInLayer(el, below) {
  const group = below && below.parentNode;
  const atBottom = !group || !group.classList.contains('art');
  if (!layered()) {
    if (atBottom) (under.firstChild || home() === under ? under : settled).prepend(el); else below.after(el);
    return;
  }
  // The highest group under the over groups that holds art.
  const base = settled.firstChild ? settled : under.firstChild ? under : null;
  if (atBottom) {
    (base ? under : overs[0]).prepend(el);
  } else if (group === base && below === group.lastChild) {
    overs[0].prepend(el);
  } else if (below === group.lastChild && group.classList.contains('over') &&
             group.childElementCount >= state.overGroupSize) {
    nextOver(group).prepend(el);
  } else {
    below.after(el);
  }
}

// ---- the settled art as one picture
//
// Even unchanged, thousands of paths cost chromium time in every frame (painting them from its cache and
// sorting them into layers). A while after the settled art last changed, when it is large, the page draws
// it into one SVG picture and shows that in its place: a frame then paints one image. Any change to the
// settled art shows the paths again at once; the picture is made anew once things are quiet. Art with a
// blend mode mixes with what is below it, which a picture of its own would not: then there is no picture.
const snapshot = {
  version: 0,    // counts the changes to the settled art
  shown: false,
  url: null,
  timer: 0,
  minimum: 1000, // settled art objects from which a picture pays
  quiet: 300,    // ms without a change before the picture is made
};
state.snapshot = snapshot;

function settledChanged() {
  ++snapshot.version;
  if (snapshot.shown) {
    settled.removeAttribute('display');
    settledPicture.setAttribute('display', 'none');
    snapshot.shown = false;
    board.dataset.snapshot = 'none';
  }
  clearTimeout(snapshot.timer);
  snapshot.timer = setTimeout(makeSnapshot, snapshot.quiet);
}

function makeSnapshot() {
  const version = snapshot.version;
  if (snapshot.shown || layered() || home() !== settled || settled.childElementCount < snapshot.minimum) return;
  // The picture covers the art's outline with room for its widest stroke and mitred corners.
  let widest = 0;
  for (const path of settled.querySelectorAll('path')) {
    if (path.getAttribute('stroke') === 'none') continue;
    widest = Math.max(widest, Number(path.getAttribute('stroke-width') || 1));
  }
  const box = settled.getBBox();
  const pad = 2 * widest + 2;
  const [x, y, w, h] = [box.x - pad, box.y - pad, box.width + 2 * pad, box.height + 2 * pad];
  const text = `<svg xmlns="${SVG}" viewBox="${x} ${y} ${w} ${h}" width="${w}" height="${h}">` +
               new XMLSerializer().serializeToString(settled) + '</svg>';
  const url = URL.createObjectURL(new Blob([text], { type: 'image/svg+xml' }));
  const image = new Image();
  image.src = url;
  image.decode().then(() => {
    if (version !== snapshot.version || layered()) { URL.revokeObjectURL(url); return; }
    if (snapshot.url) URL.revokeObjectURL(snapshot.url);
    snapshot.url = url;
    for (const [name, value] of [['x', x], ['y', y], ['width', w], ['height', h], ['href', url]])
      settledPicture.setAttribute(name, value);
    settledPicture.removeAttribute('display');
    settled.setAttribute('display', 'none');
    snapshot.shown = true;
    board.dataset.snapshot = 'shown';
  }).catch(() => URL.revokeObjectURL(url));
}

function moveChildren(from, to, atStart) {
  if (!from.firstChild) return false;
  const range = document.createRange();
  range.selectNodeContents(from);
  const children = range.extractContents();
  if (atStart) to.prepend(children); else to.append(children);
  return true;
}

// Brings all art into its home group, in the same order; whether any moved.
function mergeLayers() {
  let moved = home() === settled ? moveChildren(under, settled, true) : moveChildren(settled, under, false);
  for (const group of overs) moved = moveChildren(group, home(), false) || moved;
  for (const group of overs.splice(1)) group.ownerSVGElement.remove();
  return moved;
}

function applyDelta(delta) {
  const content = delta.removed.length + delta.placed.length + delta.changed.length > 0;
  let touched = delta.everything || (content && !layered());
  const inSettled = (el) => { if (!touched && settled.contains(el)) touched = true; };
  if (delta.everything) {
    for (const group of [under, settled, ...overs]) group.replaceChildren();
    state.elements.clear();
    state.blended.clear();
    if (delta.page) setPage(delta.page);
  }
  for (const id of delta.removed) {
    const el = state.elements.get(id);
    if (el) { inSettled(el); forget(el); }
  }
  for (const place of delta.placed) {
    const el = place.art ? build(place.art) : state.elements.get(place.id);
    if (!el) continue;
    const below = place.below ? state.elements.get(place.below) : null;
    inSettled(el);
    if (!place.parent) {
      placeInLayer(el, below);
      inSettled(el);
      continue;
    }
    const parent = state.elements.get(place.parent);
    if (!parent) continue;
    if (below && below.parentNode === parent) below.after(el); else parent.prepend(el);
    inSettled(el);
  }
  for (const art of delta.changed) {
    const el = state.elements.get(art.id);
    if (el) { inSettled(el); paintAttributes(el, art); }
  }
  if (!layered() && mergeLayers()) touched = true;
  if (touched) settledChanged();
  state.revision = delta.revision;
  board.dataset.revision = delta.revision;
  board.dataset.artCount = state.elements.size;
}

function showState(answer) {
  if (answer.document) setPage(answer.document.page);
  if (answer.tool) document.getElementById('tool').title = answer.tool.title.trim() + ' — ' +
      answer.tool.tooltip.trim() + ' (double-click for its options)';
  state.cursor = answer.cursor;
  board.style.cursor = answer.cursor
    ? `url(/api/cursor.png) ${answer.cursor.hot[0]} ${answer.cursor.hot[1]}, crosshair` : 'crosshair';
  showDialog(answer.dialog);
}

// ---- view: pan and zoom -----------------------------------------------------------------------------------

function viewTransform() {
  const v = state.view;
  return `translate(${v.x} ${v.y}) scale(${v.scale})`;
}

// The artboard and the art layers move together.
function applyView() {
  const transform = viewTransform();
  for (const view of document.querySelectorAll('#stage .view')) view.setAttribute('transform', transform);
}

// The document point (y up) under a pointer event.
function documentPoint(event) {
  const box = board.getBoundingClientRect();
  const v = state.view;
  const x = (event.clientX - box.left - v.x) / v.scale;
  const y = (event.clientY - box.top - v.y) / v.scale;
  return [x, state.page[1] - y];
}

board.addEventListener('wheel', (event) => {
  event.preventDefault();
  const box = board.getBoundingClientRect();
  const v = state.view;
  const factor = Math.exp(-event.deltaY * 0.0015);
  const scale = Math.min(64, Math.max(0.05, v.scale * factor));
  const px = event.clientX - box.left, py = event.clientY - box.top;
  v.x = px - (px - v.x) * (scale / v.scale);
  v.y = py - (py - v.y) * (scale / v.scale);
  v.scale = scale;
  applyView();
}, { passive: false });

let spaceHeld = false;
let pan = null;

// ---- drawing with the tool --------------------------------------------------------------------------------

function modifiersOf(event) {
  return (event.shiftKey ? SHIFT : 0) | (event.altKey ? ALT : 0) | (event.ctrlKey || event.metaKey ? CTRL : 0);
}

function toolInput(event) {
  const pen = event.pointerType === 'pen';
  return {
    modifiers: modifiersOf(event),
    pressure: pen ? Math.max(0, Math.min(255, Math.round(event.pressure * 255))) : 255,
    pointer: pen ? 'pen' : event.pointerType === 'touch' ? 'touch' : 'mouse',
  };
}

// Drag events coalesce: while one is on its way, only the latest position waits, so the art follows the
// pointer however slow the round trip.
function pumpDrag() {
  const drag = state.drag;
  if (!drag || drag.inFlight || !drag.pending) return;
  const command = drag.pending;
  const times = drag.times;
  drag.pending = null;
  drag.times = [];
  drag.inFlight = true;
  const sent = performance.now();
  send(command)
    .then((answer) => { if (state.trace) traceDrag(times, sent, answer); })
    .catch(fail)
    .finally(() => { drag.inFlight = false; pumpDrag(); });
}

// A message posted from an animation frame callback is handled in the task after that frame's rendering
// steps: the time the frame left the page's main thread.
const afterFrame = new MessageChannel();
const afterFrameWaiting = [];
afterFrame.port1.onmessage = () => afterFrameWaiting.shift()();

let tracedCommands = 0;
function traceDrag(times, sent, answer) {
  const trace = state.trace;
  const command = ++tracedCommands;
  const applied = performance.now();
  requestAnimationFrame(() => {
    const frame = performance.now();
    afterFrameWaiting.push(() => {
      const painted = performance.now();
      for (const [dispatched, input] of times) {
        trace.push({ command, dispatched, input, sentAt: sent, applied, frame, painted, coalesced: times.length,
                     ...answer.bytes });
      }
    });
    afterFrame.port2.postMessage(null);
  });
}

board.addEventListener('pointerdown', (event) => {
  if (event.button === 1 || (event.button === 0 && spaceHeld)) {
    pan = { id: event.pointerId, x: event.clientX, y: event.clientY };
    board.setPointerCapture(event.pointerId);
    board.classList.add('panning');
    event.preventDefault();
    return;
  }
  if (event.button !== 0 || state.dialog || state.drag) return;
  board.setPointerCapture(event.pointerId);
  const drag = { pointerId: event.pointerId, pending: null, inFlight: false, times: [] };
  state.drag = drag;
  send({ do: 'mouseDown', at: documentPoint(event), ...toolInput(event) }).catch((error) => {
    // Refused (another page is drawing, say): this press draws nothing.
    if (state.drag === drag) state.drag = null;
    fail(error);
  });
});

// Where the browser has them, the drag follows pointerrawupdate, which comes as soon as the pointer moves;
// pointermove waits for the next frame, a frame later than the host could have answered.
const rawUpdates = 'onpointerrawupdate' in window;

function dragMoved(event) {
  const drag = state.drag;
  if (!drag || event.pointerId !== drag.pointerId) return;
  drag.pending = { do: 'drag', to: documentPoint(event), ...toolInput(event) };
  if (state.trace) drag.times.push([performance.now(), event.timeStamp]);
  pumpDrag();
}
if (rawUpdates) board.addEventListener('pointerrawupdate', dragMoved);

board.addEventListener('pointermove', (event) => {
  if (pan && event.pointerId === pan.id) {
    state.view.x += event.clientX - pan.x;
    state.view.y += event.clientY - pan.y;
    pan.x = event.clientX; pan.y = event.clientY;
    applyView();
    return;
  }
  if (!rawUpdates) dragMoved(event);
});

function endPointer(event) {
  if (pan && event.pointerId === pan.id) {
    pan = null;
    board.classList.remove('panning');
    return;
  }
  const drag = state.drag;
  if (!drag || event.pointerId !== drag.pointerId) return;
  state.drag = null;
  const last = drag.pending;
  // The last position still waiting goes first; the mouse up follows it in the queue.
  if (last) send(last).catch(fail);
  send({ do: 'mouseUp', at: documentPoint(event), ...toolInput(event) })
    .then((answer) => setStatus(answer.status === 0 ? `revision ${answer.revision}` : `the tool answered ${answer.statusText}`))
    .catch(fail);
}
board.addEventListener('pointerup', endPointer);
board.addEventListener('pointercancel', endPointer);

// A page that goes away mid-drag has the host end the drag where it is: its socket closing says so, and
// without one it says so itself.
window.addEventListener('pagehide', () => {
  if (state.drag && !channel.socket) navigator.sendBeacon('/api/command', JSON.stringify({ do: 'abandon' }));
});

// ---- keyboard, buttons and forms --------------------------------------------------------------------------

function undo() { send({ do: 'undo' }).catch(fail); }
function redo() { send({ do: 'redo' }).catch(fail); }

window.addEventListener('keydown', (event) => {
  if (event.target instanceof HTMLInputElement || event.target instanceof HTMLSelectElement) return;
  if (state.dialog) {
    if (event.key === 'Escape') dialogAction({ action: 'end', item: 2 });
    return;
  }
  if (event.code === 'Space') { spaceHeld = true; board.classList.add('panning'); event.preventDefault(); }
  const key = event.key.toLowerCase();
  if ((event.ctrlKey || event.metaKey) && key === 'z') { event.preventDefault(); event.shiftKey ? redo() : undo(); }
  if ((event.ctrlKey || event.metaKey) && key === 'y') { event.preventDefault(); redo(); }
});
window.addEventListener('keyup', (event) => {
  if (event.code === 'Space') { spaceHeld = false; if (!pan) board.classList.remove('panning'); }
});

document.getElementById('undo').addEventListener('click', undo);
document.getElementById('redo').addEventListener('click', redo);
document.getElementById('setSeed').addEventListener('click', () => {
  const seed = Number(document.getElementById('seed').value);
  send({ do: 'seed', seed }).then(() => setStatus(`seed ${seed}`)).catch(fail);
});

document.getElementById('newDocForm').addEventListener('submit', (event) => {
  event.preventDefault();
  const f = event.target.elements;
  const command = {
    do: 'newDocument', colorModel: f.colorModel.value, page: [Number(f.width.value), Number(f.height.value)],
    swatches: Number(f.swatches.value), namedStyles: Number(f.namedStyles.value),
    paint: { fill: f.noFill.checked ? null : f.fill.value, stroke: f.noStroke.checked ? null : f.stroke.value,
             strokeWidth: Number(f.strokeWidth.value) },
  };
  send(command).then(() => { document.getElementById('newDoc').open = false; setStatus('new document'); })
    .catch(fail);
});

// ---- the options dialog -----------------------------------------------------------------------------------

const tool = document.getElementById('tool');
tool.addEventListener('dblclick', () => {
  // Answered when the dialog ends; the dialog itself arrives on the event stream.
  post({ do: 'editOptions' })
    .then((answer) => {
      setStatus(answer.closedWith === 1 ? 'options applied' : 'options cancelled');
      take(answer);
    })
    .catch(fail);
});

let dialogChain = Promise.resolve();
function dialogAction(action) {
  dialogChain = dialogChain.then(() => post({ do: 'dialog', ...action }))
    .then((answer) => {
      if (answer.refusal) setStatus(answer.refusal);
      showDialog(answer.dialog);
    })
    .catch(fail);
  return dialogChain;
}

function place(el, item) {
  const [l, t, r, b] = item.rect;
  Object.assign(el.style, { left: `${l}px`, top: `${t}px`, width: `${r - l}px`, height: `${b - t}px` });
  el.dataset.item = item.id;
  if (!item.enabled) el.classList.add('disabled');
  if (item.bold) el.classList.add('bold');
  return el;
}

function dialogItem(item) {
  const disabled = !item.enabled;
  switch (item.kind) {
  case 'label': {
    const el = document.createElement('div');
    el.className = 'label';
    el.textContent = item.text;
    return place(el, item);
  }
  case 'frame': {
    const el = document.createElement('div');
    el.className = 'frame';
    return place(el, item);
  }
  case 'spin': {
    const el = document.createElement('input');
    el.type = 'number';
    el.className = 'spin';
    el.value = item.text;
    el.step = item.whole ? '1' : 'any';
    if (item.min !== undefined && item.min !== null) el.min = item.min;
    if (item.max !== undefined && item.max !== null) el.max = item.max;
    el.disabled = disabled;
    el.addEventListener('change', () => {
      const value = Number(el.value);
      if (el.value !== '' && Number.isFinite(value)) dialogAction({ action: 'value', item: item.id, value });
    });
    return place(el, item);
  }
  case 'check': {
    const el = document.createElement('label');
    el.className = 'check';
    const box = document.createElement('input');
    box.type = 'checkbox';
    box.checked = item.value;
    box.disabled = disabled;
    box.addEventListener('change', () => dialogAction({ action: 'click', item: item.id }));
    el.append(box, document.createTextNode(item.text));
    return place(el, item);
  }
  case 'popup': {
    const el = document.createElement('select');
    for (const entry of item.entries) {
      const option = document.createElement('option');
      option.value = entry.id;
      option.textContent = entry.text;
      el.appendChild(option);
    }
    if (item.active !== null) el.value = item.active;
    el.disabled = disabled;
    el.addEventListener('change', () => dialogAction({ action: 'choose', item: item.id, entry: Number(el.value) }));
    return place(el, item);
  }
  case 'list': {
    const el = document.createElement('div');
    el.className = 'list';
    for (const entry of item.entries) {
      const row = document.createElement('div');
      row.className = 'row' + (entry.id === item.active ? ' active' : '');
      row.dataset.entry = entry.id;
      if (entry.picture) {
        const picture = document.createElement('img');
        picture.src = `/api/bitmap/${entry.picture}.png`;
        picture.alt = '';
        row.appendChild(picture);
      }
      row.appendChild(document.createTextNode(entry.text));
      if (!disabled) row.addEventListener('click', () => dialogAction({ action: 'choose', item: item.id, entry: entry.id }));
      el.appendChild(row);
    }
    place(el, item);
    requestAnimationFrame(() => {
      const active = el.querySelector('.row.active');
      if (active) active.scrollIntoView({ block: 'nearest' });
    });
    return el;
  }
  case 'button': {
    const el = document.createElement('button');
    el.type = 'button';
    el.textContent = item.text;
    el.disabled = disabled;
    el.addEventListener('click', () => dialogAction({ action: 'click', item: item.id }));
    return place(el, item);
  }
  default: {
    const el = document.createElement('div');
    el.className = 'frame';
    return place(el, item);
  }
  }
}

function showDialog(model) {
  const backdrop = document.getElementById('dialogBackdrop');
  state.dialog = model || null;
  if (!model) {
    backdrop.hidden = true;
    document.getElementById('dialogBody').replaceChildren();
    return;
  }
  const focused = document.activeElement && document.activeElement.closest('[data-item]');
  const focusedItem = focused ? focused.dataset.item : null;
  document.getElementById('dialogTitle').textContent = model.name;
  const body = document.getElementById('dialogBody');
  body.style.width = `${model.width}px`;
  body.style.height = `${model.height}px`;
  body.replaceChildren(...model.items.filter((item) => item.visible).map(dialogItem));
  backdrop.hidden = false;
  if (focusedItem) {
    const again = body.querySelector(`[data-item="${focusedItem}"]`);
    if (again && again.focus) again.focus();
  }
}

// ---- news from the host -----------------------------------------------------------------------------------

function listen() {
  const events = new EventSource('/api/events');
  events.addEventListener('hello', (event) => {
    const hello = JSON.parse(event.data);
    showDialog(hello.dialog);
    if (hello.revision !== state.revision) sync();
  });
  events.addEventListener('document', (event) => {
    const news = JSON.parse(event.data);
    // Another page changed the document: fetch what changed once this page's own commands are through.
    if (news.revision !== state.revision && !state.drag) state.busy.then(() => {
      if (news.revision > state.revision) send({ do: 'state' }).catch(fail);
    });
  });
  events.addEventListener('dialog', (event) => showDialog(JSON.parse(event.data)));
  events.addEventListener('abandoned', (event) => {
    state.drag = null;
    setStatus(`drag ended: ${JSON.parse(event.data).why}`);
  });
}

applyView();
openChannel().then(sync).then(listen);
