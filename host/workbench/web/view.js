// Where the document is on the screen: a scale and an offset (in CSS pixels, from the artboard's top left
// corner to the page's) that the artboard and every art layer over it share. The wheel zooms about the
// pointer; panning is the input's (input.js), which moves the view by what the pointer moved.

const MIN_SCALE = 0.05;
const MAX_SCALE = 64;

export class View {
  constructor(board) {
    this.board = board;
    this.scale = 1;
    this.x = 40;
    this.y = 20;
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

  // The document point (y up, on a page `pageHeight` tall) under a pointer event.
  documentPoint(event, pageHeight) {
    const box = this.board.getBoundingClientRect();
    const x = (event.clientX - box.left - this.x) / this.scale;
    const y = (event.clientY - box.top - this.y) / this.scale;
    return [x, pageHeight - y];
  }
}
