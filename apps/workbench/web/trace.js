// The latency trace of drags, for tests/browser/bench-pointer-latency.mjs; the page loads this module only
// when asked (main.js). While it records, every pointer event of a drag gives one record:
//
//   command     numbers the drag commands: events that share one were coalesced into it (`coalesced` of them)
//   dispatched  performance.now() when the page's handler ran
//   input       the event's own time stamp
//   sentAt      when the command that carried it went out
//   applied     when its answer was in the picture
//   frame       the time in the first animation frame after that
//   painted     when that frame's rendering steps (style, layout, paint and the hand-over to the compositor)
//               were done
//   sent, received   the bytes of the command's JSON text and of its answer's
//
// and every delta the picture applies gives how long applying it took, in `apply`.

// A message posted from an animation frame callback is handled in the task after that frame's rendering
// steps: the time the frame left the page's main thread.
function afterFrame(callback) {
  const channel = new MessageChannel();
  channel.port1.onmessage = () => { channel.port1.close(); callback(); };
  channel.port2.postMessage(null);
}

export class Tracer {
  constructor(scene) {
    this.events = [];
    this.apply = [];
    this.commands = 0;
    this.answers = new Map(); // answer -> the records it carried, until its frame is painted
    this.scene = scene;
    const applyDelta = scene.applyDelta;
    scene.applyDelta = (delta) => {
      const begun = performance.now();
      applyDelta.call(scene, delta);
      this.apply.push(performance.now() - begun);
    };
  }

  // A record for a pointer event of a drag.
  moved(event) { return { dispatched: performance.now(), input: event.timeStamp }; }

  // The answer to the command that carried `record`.
  carried(record, answer) {
    const records = this.answers.get(answer);
    if (records) { records.push(record); return; }
    this.answers.set(answer, [record]);
    const command = ++this.commands;
    const applied = answer.wire.takenAt;
    requestAnimationFrame(() => {
      const frame = performance.now();
      afterFrame(() => {
        const painted = performance.now();
        const all = this.answers.get(answer);
        this.answers.delete(answer);
        for (const { dispatched, input } of all) {
          this.events.push({ command, dispatched, input, sentAt: answer.wire.sentAt, applied, frame, painted,
                             coalesced: all.length, sent: answer.wire.sent, received: answer.wire.received });
        }
      });
    });
  }

  // Stops recording: the picture applies deltas untimed again.
  stop() {
    delete this.scene.applyDelta;
    return { events: this.events, apply: this.apply };
  }
}
