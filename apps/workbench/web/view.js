// Where the document is on the screen: a scale and an offset (in CSS pixels, from the artboard's top left
// corner to the page's) that the artboard and every art layer over it share. The wheel zooms about the
// pointer, the view controls about the artboard's middle; panning is the input's (input.js), which moves the
// view by what the pointer moved. `changed` hears of every change (the zoom shown in the bar).

const MIN_SCALE = 0.05;
const MAX_SCALE = 64;

export class View {
  constructor(board) {
    this.board = board;
    this.scale = 1;
    this.x = 40;
    this.y = 20;
    this.changed = () => {};
    board.addEventListener('wheel', (event) => {
      event.preventDefault();
      this.zoomAt(event.clientX, event.clientY, Math.exp(-event.deltaY * 0.0015));
    }, { passive: false });
  }

  transform() { return `translate(${this.x} ${this.y}) scale(${this.scale})`; }

  // The artboard and the art layers move together.
  apply() {
    const transform = this.transform();
    for (const group of document.querySelectorAll('#stage .view')) group.setAttribute('transform', transform);
    this.changed(this);
  }

  set({ scale = this.scale, x = this.x, y = this.y }) {
    Object.assign(this, { scale, x, y });
    this.apply();
  }

  panBy(dx, dy) { this.set({ x: this.x + dx, y: this.y + dy }); }

  // Scales by `factor` (within limits) keeping the document point under the client point where it is.
  zoomAt(clientX, clientY, factor) {
    const box = this.board.getBoundingClientRect();
    const scale = Math.min(MAX_SCALE, Math.max(MIN_SCALE, this.scale * factor));
    const px = clientX - box.left, py = clientY - box.top;
    this.set({ scale, x: px - (px - this.x) * (scale / this.scale), y: py - (py - this.y) * (scale / this.scale) });
  }

  // Scales by `factor` about the middle of the artboard.
  zoomBy(factor) {
    const box = this.board.getBoundingClientRect();
    this.zoomAt(box.left + box.width / 2, box.top + box.height / 2, factor);
  }

  // The page (`size`, [width, height] in points) whole and centred in the artboard, with a margin around it.
  fit(size, margin = 24) {
    const box = this.board.getBoundingClientRect();
    const scale = Math.min(MAX_SCALE, Math.max(MIN_SCALE,
      Math.min((box.width - 2 * margin) / size[0], (box.height - 2 * margin) / size[1])));
    this.set({ scale, x: (box.width - size[0] * scale) / 2, y: (box.height - size[1] * scale) / 2 });
  }

  // The page at its actual size (a point a CSS pixel), its top left corner kept where it is on the screen
  // when it fits, else at the margin.
  actualSize(margin = 24) { this.set({ scale: 1, x: Math.max(margin, this.x), y: Math.max(margin, this.y) }); }

  // The document point (y up, on a page `pageHeight` tall) under a pointer event.
  documentPoint(event, pageHeight) {
    const box = this.board.getBoundingClientRect();
    const x = (event.clientX - box.left - this.x) / this.scale;
    const y = (event.clientY - box.top - this.y) / this.scale;
    return [x, pageHeight - y];
  }
}
