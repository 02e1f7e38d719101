// The workbench page: the artboard, the toolbox with the zigzag tool and the options dialog, all drawn from
// what the host says over the page's one socket. The host holds the one document; the page keeps a picture
// of it up to date from the deltas every answer and every "document" event brings. The modules:
//
//   protocol.js  the socket: commands and their answers, the host's news, reconnecting
//   scene.js     the picture of the document, applying deltas
//   view.js      pan and zoom
//   input.js     the pointer and keyboard as a machine of named states, driving the tool's drag
//   dialog.js    the options dialog
//   documents.js the documents on disk: open, rename, duplicate, delete and restore
//   access.js    the token: taken from the address, sent with every request and on the socket
//   trace.js     the latency trace, loaded only when asked for
//
// The page's address carries the token that lets it in (?token=...); access.js takes it out of the address
// at once, out of the history and out of sight, and keeps it for this tab. A page opened without it says
// so and opens no socket.
//
// window.zz, for the browser tests and the latency benchmark (tests/browser) and people looking in:
//
//   revision       the document revision the picture shows
//   page           the page's size, [width, height] in points
//   view           the View (view.js): scale, x, y; set({ scale, x, y }) moves the picture
//   dragOpen       whether this page's drag is open: pressed, not released, not ended by the host
//   settled()      a promise that resolves once every command sent so far has been answered
//   undo, redo     the steps the host's history holds
//   file           the open document: { id, name, kept }
//   send(command)  sends a command; a promise of its answer, whose delta is in the picture by then
//   fetchText(path) the text of the server's answer to a GET of `path` with the page's token; a promise
//   overGroupSize  how many art objects an over group holds before a drag starts the next (scene.js)
//   snapshot       the settled picture's knobs, { minimum, quiet } (scene.js)
//   startTrace()   loads trace.js and starts recording anew; a promise. "?trace" in the address starts it
//                  at load
//   stopTrace()    stops recording and gives { events, apply } (trace.js), or null when it was not recording
import { Protocol } from './protocol.js';
import { Scene } from './scene.js';
import { View } from './view.js';
import { Input } from './input.js';
import { OptionsDialog } from './dialog.js';
import { Documents } from './documents.js';
import { token, get, pictureUrl, download } from './access.js';

const board = document.getElementById('board');
const statusLine = document.getElementById('status');
const undoButton = document.getElementById('undo');
const redoButton = document.getElementById('redo');

// Once the server has refused the page's token, that is what the status line says: the socket's news of
// its closing and reconnecting would only hide it.
let refusedWhy = null;
function setStatus(text) { statusLine.textContent = refusedWhy || text; }
function fail(error) {
  if (error.status === 401) refusedWhy = error.message;
  setStatus(error.message);
}

// The status line (#statusLine): the document's name (#statusDocName, documents.js), its art count, the zoom, then the latest
// message (#status, setStatus). Each part is an element of its own, written only when its text changes; an
// empty one is not shown.
const statusParts = {
  artCount: document.getElementById('artCount'),
  zoom: document.getElementById('zoomLevel'),
};
function showPart(name, text) {
  const el = statusParts[name];
  if (el.textContent !== text) el.textContent = text;
}
const showArtCount = (count) => showPart('artCount', `${count.toLocaleString('en')} art object${count === 1 ? '' : 's'}`);
// A trail changes the art count with every pointer event, and a new count lays the status bar out again in
// the frame that should show the art: the count is written at most four times a second.
let artCountDue = null;
function showArtCountSoon() {
  if (artCountDue !== null) return;
  artCountDue = setTimeout(() => {
    artCountDue = null;
    showArtCount(scene.elements.size);
  }, 250);
}

const protocol = new Protocol({ status: (text) => setTimeout(() => setStatus(text)) });
const view = new View(board);
const scene = new Scene(view);
const dialog = new OptionsDialog({ protocol, status: setStatus, changed: (open) => input.dialogChanged(open) });
const input = new Input({ board, view, scene, protocol, status: setStatus, cancelDialog: () => dialog.cancel() });
const steps = { undo: 0, redo: 0 }; // the host's history
const documents = new Documents({ protocol, status: setStatus });

// ---- what the host says

// A delta goes from the revision the page was last sent, unless its command named another ("since"): such a
// delta is taken when it brings a revision the picture does not show, and when it cannot apply to the picture
// the page asks for everything.
function takeDelta(delta, since) {
  if (since === null || since === scene.revision) {
    scene.applyDelta(delta);
  } else if (delta.revision !== scene.revision) {
    if (delta.everything) scene.applyDelta(delta);
    else protocol.send({ do: 'state', since: 0 }).catch(fail);
  }
}

function take(message, command) {
  if (message.delta) {
    takeDelta(message.delta, command && 'since' in command ? command.since : null);
    showArtCountSoon();
  }
  if ('undo' in message) {
    steps.undo = message.undo;
    steps.redo = message.redo;
    undoButton.disabled = message.undo === 0;
    redoButton.disabled = message.redo === 0;
  }
}

function showState(answer) {
  if (answer.document) scene.setPage(answer.document.page);
  if (answer.tool) {
    dialog.toolName = answer.tool.title.trim();
    document.getElementById('tool').title = answer.tool.title.trim() + ' — ' + answer.tool.tooltip.trim() +
                                            ' (double-click or Enter for its options)';
  }
  showSeed(answer.seed);
  if (answer.file) documents.showFile(answer.file);
  showCursor(answer.cursor);
  dialog.show(answer.dialog);
}

// The module's cursor, once its picture has come; the crosshair until then and when it has none.
let cursorWanted = null;
function showCursor(cursor) {
  cursorWanted = cursor;
  board.style.cursor = 'crosshair';
  if (!cursor) return;
  pictureUrl('/api/cursor.png').then((url) => {
    if (cursorWanted === cursor) board.style.cursor = `url(${url}) ${cursor.hot[0]} ${cursor.hot[1]}, crosshair`;
  }).catch(fail);
}

protocol.on('answer', take);
protocol.on('document', (news) => take(news, null));
protocol.on('dialog', (news) => dialog.show(news.dialog));
// The seed field shows the seed the host draws with, whichever page set it.
const seedField = document.getElementById('seed');
function showSeed(seed) { if (Number.isInteger(seed) && document.activeElement !== seedField) seedField.value = seed; }
protocol.on('seed', (news) => showSeed(news.seed));
// Another document came up (opened, made or deleted on this page or another): its page size, fitted anew.
protocol.on('file', (news) => {
  documents.showFile(news.file);
  protocol.send({ do: 'state' }).then((answer) => {
    showState(answer);
    view.fit(scene.page);
  }).catch(fail);
});
protocol.on('abandoned', (news) => {
  input.abandoned();
  setStatus(`drag ended: ${news.why}`);
});
protocol.on('closed', () => input.connectionLost());
// A new connection holds nothing yet: the state's delta is the whole document. The first time, the page is
// fitted to the window.
let fitted = false;
protocol.on('hello', () => protocol.send({ do: 'state' }).then((answer) => {
  showState(answer);
  if (!fitted) view.fit(scene.page);
  fitted = true;
}).catch(fail));

// ---- the view controls: zoom out, the zoom, zoom in, fit, actual size; Ctrl+-, Ctrl+=, Ctrl+0, Ctrl+1

const zoomShown = document.getElementById('zoom');
view.changed = () => {
  zoomShown.value = `${Math.round(view.scale * 100)} %`;
  showPart('zoom', `zoom ${zoomShown.value}`);
};
const zoomStep = Math.SQRT2;
document.getElementById('zoomIn').addEventListener('click', () => view.zoomBy(zoomStep));
document.getElementById('zoomOut').addEventListener('click', () => view.zoomBy(1 / zoomStep));
document.getElementById('zoomFit').addEventListener('click', () => view.fit(scene.page));
document.getElementById('zoomActual').addEventListener('click', () => view.actualSize());
window.addEventListener('keydown', (event) => {
  if (!(event.ctrlKey || event.metaKey) || event.target instanceof HTMLInputElement) return;
  const action = { '=': () => view.zoomBy(zoomStep), '+': () => view.zoomBy(zoomStep),
                   '-': () => view.zoomBy(1 / zoomStep), 0: () => view.fit(scene.page),
                   1: () => view.actualSize() }[event.key];
  if (!action || dialog.open) return;
  event.preventDefault();
  action();
});

// ---- buttons and forms

undoButton.addEventListener('click', () => input.fire('undo'));
redoButton.addEventListener('click', () => input.fire('redo'));
// The options open by a double-click on the tool, by Enter on the tool when it has the focus, and by the
// Options button beside it.
const tool = document.getElementById('tool');
tool.addEventListener('dblclick', () => dialog.edit());
tool.addEventListener('keydown', (event) => {
  if (event.key !== 'Enter') return;
  event.preventDefault();
  dialog.edit();
});
document.getElementById('toolOptions').addEventListener('click', () => dialog.edit());

document.getElementById('setSeed').addEventListener('click', () => {
  const seed = Number(document.getElementById('seed').value);
  protocol.send({ do: 'seed', seed }).then(() => setStatus(`seed ${seed}`)).catch(fail);
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
  protocol.send(command).then(() => { document.getElementById('newDoc').open = false; setStatus('new document'); })
    .catch(fail);
});

// The export links follow the form: the area for all three, the scale and background for the PNG alone.
const exportForm = document.getElementById('exportForm');
function exportLinks() {
  const f = exportForm.elements;
  const area = `area=${f.area.value}`;
  const scale = Number(f.scale.value);
  const png = new URLSearchParams({ area: f.area.value, scale: scale > 0 ? String(scale) : '1',
                                    background: f.background.value });
  document.getElementById('exportSvg').href = `/api/export.svg?${area}`;
  document.getElementById('exportPng').href = `/api/export.png?${png}`;
  document.getElementById('exportPdf').href = `/api/export.pdf?${area}`;
}
exportForm.addEventListener('input', exportLinks);
// The links name what they save; the page fetches it with its token and saves what comes.
for (const link of exportForm.querySelectorAll('a[download]')) {
  link.addEventListener('click', (event) => {
    event.preventDefault();
    download(link.getAttribute('href')).catch(fail);
  });
}
exportForm.addEventListener('submit', (event) => event.preventDefault());
exportLinks();

// ---- the hook

let tracer = null;
async function startTrace() {
  const { Tracer } = await import('./trace.js');
  if (tracer) tracer.stop();
  tracer = new Tracer(scene);
  input.tracer = tracer;
}
function stopTrace() {
  if (!tracer) return null;
  const recorded = tracer.stop();
  tracer = null;
  input.tracer = null;
  return recorded;
}

window.zz = {
  get revision() { return scene.revision; },
  get page() { return scene.page; },
  view,
  get dragOpen() { return input.dragOpen; },
  settled: () => protocol.settled(),
  get undo() { return steps.undo; },
  get file() { return documents.file; },
  get redo() { return steps.redo; },
  send: (command) => protocol.send(command),
  fetchText: (path) => get(path).then((response) => response.text()),
  get overGroupSize() { return scene.overGroupSize; },
  set overGroupSize(size) { scene.overGroupSize = size; },
  snapshot: scene.settled.knobs,
  startTrace,
  stopTrace,
};

view.apply();
if (new URLSearchParams(location.search).has('trace')) startTrace();
if (token) {
  pictureUrl('/api/icon.png').then((url) => { document.getElementById('toolIcon').src = url; }).catch(fail);
  protocol.connect();
} else {
  refusedWhy = 'this page has no token: open the address zigzag serve printed, with its ?token=';
  setStatus(refusedWhy);
}
