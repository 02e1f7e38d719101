// The pointer and the keyboard on the artboard, as a machine of named states:
//
//   idle      nothing held: a press starts a drag or a pan; Ctrl+Z undoes, Ctrl+Shift+Z and Ctrl+Y redo
//   pointing  pressed: mouseDown has gone, the host has not taken it yet; moves already go as drags
//   dragging  the host's drag is this page's: moves go as drags, the release as mouseUp
//   panning   the middle button, or the left one with Space held, moves the view
//   inDialog  a dialog is open: the artboard takes nothing; Escape cancels the dialog
//
// Each state lists the events it takes, with the state that follows and what is done on the way (MACHINE);
// an event a state does not list is dropped. The host refusing the press or a drag command, ending the drag
// itself ("abandoned"), or the connection closing all bring a drag back to idle; a dialog opening ends
// whatever the pointer was doing.
//
// Drag commands coalesce (protocol.js): while one is on its way only the latest position waits, and the
// release's mouseUp follows it.

// The modifier word the host's tracker reports: Shift, Alt (Option), Ctrl.
const SHIFT = 0x20, ALT = 0x40, CTRL = 0x200;

// state -> event -> [the next state, the action on the way (a method of Input), if any]
const MACHINE = {
  idle: {
    press: ['pointing', 'pressTool'],
    panPress: ['panning', 'beginPan'],
    undo: ['idle', 'undo'],
    redo: ['idle', 'redo'],
    dialogShown: ['inDialog'],
  },
  // No "abandoned" here: news of a drag the host ended that comes before it took this press is of an earlier
  // drag (the press itself ends one the host still holds).
  pointing: {
    move: ['pointing', 'sendDrag'],
    taken: ['dragging'],
    refused: ['idle'],
    release: ['idle', 'release'],
    lost: ['idle'],
    dialogShown: ['inDialog'],
  },
  dragging: {
    move: ['dragging', 'sendDrag'],
    refused: ['idle'],
    release: ['idle', 'release'],
    abandoned: ['idle'],
    lost: ['idle'],
    dialogShown: ['inDialog'],
  },
  panning: {
    move: ['panning', 'pan'],
    release: ['idle', 'endPan'],
    dialogShown: ['inDialog', 'endPan'],
  },
  inDialog: {
    escape: ['inDialog', 'cancelDialog'],
    dialogEnded: ['idle'],
  },
};

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

export class Input {
  // `scene` is told whether this page is drawing; `cancelDialog` ends the open dialog as Cancel would.
  constructor({ board, view, scene, protocol, status, cancelDialog }) {
    Object.assign(this, { board, view, scene, protocol, status, cancelDialogNow: cancelDialog });
    this.state = 'idle';
    this.pointer = null; // the pointer id of the press or pan
    this.drag = 0;       // numbers the presses, so that a late answer to an earlier one changes nothing
    this.panFrom = null;
    this.spaceHeld = false;
    this.tracer = null;  // trace.js, while the latency trace records
    this.listen();
  }

  get dragOpen() { return this.state === 'pointing' || this.state === 'dragging'; }

  // Takes `event` in the current state: its action runs, then the state is the next one. Whether it was taken.
  fire(event, data) {
    const step = MACHINE[this.state][event];
    if (!step) return false;
    const [next, action] = step;
    if (action) this[action](data);
    this.enter(next);
    return true;
  }

  enter(state) {
    this.state = state;
    this.scene.drawing = this.dragOpen;
    if (!this.dragOpen && state !== 'panning') this.pointer = null;
    this.board.dataset.input = state;
    this.board.classList.toggle('panning', state === 'panning' || (state === 'idle' && this.spaceHeld));
  }

  // ---- actions

  pressTool(event) {
    this.pointer = event.pointerId;
    const drag = ++this.drag;
    this.capture(event.pointerId);
    const at = this.view.documentPoint(event, this.scene.page[1]);
    this.protocol.send({ do: 'mouseDown', at, ...toolInput(event) })
      .then(() => { if (drag === this.drag) this.fire('taken'); })
      // Refused (another page is drawing, say): this press draws nothing.
      .catch((error) => this.refused(drag, error));
  }

  refused(drag, error) {
    if (drag === this.drag) this.fire('refused');
    this.status(error.message);
  }

  sendDrag(event) {
    const drag = this.drag;
    const record = this.tracer && this.tracer.moved(event);
    const command = { do: 'drag', to: this.view.documentPoint(event, this.scene.page[1]), ...toolInput(event) };
    this.protocol.send(command, { latest: 'drag' })
      .then((answer) => { if (record) this.tracer.carried(record, answer); })
      .catch((error) => this.refused(drag, error));
  }

  release(event) {
    // A drag position still waiting goes first; the mouse up follows it.
    const at = this.view.documentPoint(event, this.scene.page[1]);
    this.protocol.send({ do: 'mouseUp', at, ...toolInput(event) })
      .then((answer) => this.status(answer.status === 0 ? '' : `the tool answered ${answer.statusText}`))
      .catch((error) => this.status(error.message));
  }

  beginPan(event) {
    this.pointer = event.pointerId;
    this.panFrom = [event.clientX, event.clientY];
    this.capture(event.pointerId);
  }

  // The pointer's events come to the artboard until it is released, wherever it goes. A pointer the browser
  // does not know as active (an event a script made) cannot be captured and is followed as it is.
  capture(pointerId) {
    try {
      this.board.setPointerCapture(pointerId);
    } catch {
      // not captured
    }
  }

  pan(event) {
    this.view.panBy(event.clientX - this.panFrom[0], event.clientY - this.panFrom[1]);
    this.panFrom = [event.clientX, event.clientY];
  }

  endPan() { this.panFrom = null; }

  undo() { this.protocol.send({ do: 'undo' }).catch((error) => this.status(error.message)); }

  redo() { this.protocol.send({ do: 'redo' }).catch((error) => this.status(error.message)); }

  cancelDialog() { this.cancelDialogNow(); }

  // ---- what the host and the dialog say

  dialogChanged(open) { this.fire(open ? 'dialogShown' : 'dialogEnded'); }

  abandoned() { this.fire('abandoned'); }

  connectionLost() { this.fire('lost'); }

  // ---- the browser's events

  listen() {
    const board = this.board;
    const mine = (event) => event.pointerId === this.pointer;
    board.addEventListener('pointerdown', (event) => {
      if (event.button === 1 || (event.button === 0 && this.spaceHeld)) {
        if (this.fire('panPress', event)) event.preventDefault();
      } else if (event.button === 0) {
        this.fire('press', event);
      }
    });
    // Where the browser has them, the drag follows pointerrawupdate, which comes as soon as the pointer moves;
    // pointermove waits for the next frame, a frame later than the host could have answered.
    const rawUpdates = 'onpointerrawupdate' in window;
    if (rawUpdates) {
      board.addEventListener('pointerrawupdate', (event) => {
        if (this.dragOpen && mine(event)) this.fire('move', event);
      });
    }
    board.addEventListener('pointermove', (event) => {
      if (!mine(event)) return;
      if (this.state === 'panning' || !rawUpdates) this.fire('move', event);
    });
    const release = (event) => { if (mine(event)) this.fire('release', event); };
    board.addEventListener('pointerup', release);
    board.addEventListener('pointercancel', release);

    window.addEventListener('keydown', (event) => {
      if (event.target instanceof HTMLInputElement || event.target instanceof HTMLSelectElement) return;
      if (event.key === 'Escape') { this.fire('escape'); return; }
      if (event.code === 'Space' && this.state !== 'inDialog') {
        this.spaceHeld = true;
        this.enter(this.state);
        event.preventDefault();
      }
      const key = event.key.toLowerCase();
      if (!(event.ctrlKey || event.metaKey)) return;
      if (key === 'z') { event.preventDefault(); this.fire(event.shiftKey ? 'redo' : 'undo'); }
      if (key === 'y') { event.preventDefault(); this.fire('redo'); }
    });
    window.addEventListener('keyup', (event) => {
      if (event.code !== 'Space') return;
      this.spaceHeld = false;
      this.enter(this.state);
    });
  }
}
