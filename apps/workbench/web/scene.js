// The picture of the document: the page and its art, kept up to date by applying the deltas the host sends
// (apps/workbench/DeltaJson.h).
//
// The layer's art is drawn in groups under the same document transform: `under`, in the artboard's own SVG
// above the page; `settled`, in an SVG of its own over it; the over groups, each in an SVG of its own, on top.
// Each SVG is a compositing layer of its own (app.css). The layer's art, bottom to top, is the children of
// under, then of settled, then of the over groups in turn. Two renderers share them:
//
//   SettledArt  the settled group: between drags all art is there, shown as one picture when it is large
//   DrawnArt    under and the over groups: the art a drag of this page changes, while it changes it
//
// While this page drags (`drawing`), the art the drag places on top of everything goes over, and art it
// places at the bottom goes under, so that each of its events repaints and rasters only what it changes, and
// the settled art, which can be tens of thousands of paths, is neither painted nor rastered again. A drag
// that keeps adding art on top (a trail) fills one over group after another, so that each event rasters a few
// of its paths, not all of them. Art placed between settled art is placed there: correct first, fast second.
// When the drag has ended, the first delta applied brings all art back into settled and drops the over
// groups but the first.
//
// A blend mode mixes art with everything below it, which a separate layer would not hold: while any art has
// one, all art is drawn under, over the page, as one picture.

const SVG = 'http://www.w3.org/2000/svg';
// A path record's optional paint: its key in the record and the attribute it sets.
const PAINT_KEYS = [['sw', 'stroke-width'], ['rule', 'fill-rule'], ['cap', 'stroke-linecap'], ['join', 'stroke-linejoin']];

// Each kind of art record (DeltaJson.h): the element that draws it, and how its own attributes are set on it
// (`fresh`: a new element, with nothing to take away).
const ART_KINDS = {
  path: {
    tag: 'path',
    draw(el, art, fresh) {
      el.setAttribute('d', art.d);
      el.setAttribute('fill', art.fill);
      el.setAttribute('stroke', art.stroke);
      for (const [key, name] of PAINT_KEYS) {
        if (key in art) el.setAttribute(name, art[key]); else if (!fresh) el.removeAttribute(name);
      }
    },
  },
  g: { tag: 'g', draw() {} },
};

// The settled art, and the one picture of it that stands in for its paths once it is large and quiet.
//
// Even unchanged, thousands of paths cost chromium time in every frame (painting them from its cache and
// sorting them into layers). A while after the settled art last changed, when it is large, the picture is
// made from it (an SVG image) and shown in its place: a frame then paints one image. Any change to the
// settled art shows the paths again at once; the picture is made anew once things are quiet.
class SettledArt {
  constructor(group, picture, board) {
    this.group = group;
    this.picture = picture;
    this.board = board;
    // Settled art objects from which a picture pays, and ms without a change before it is made.
    this.knobs = { minimum: 1000, quiet: 300 };
    this.version = 0; // counts the changes to the settled art
    this.shown = false;
    this.url = null;
    this.timer = 0;
  }

  // The settled art changed: its paths show; `mayPicture()` says, when things are quiet, whether a picture
  // may stand in for them (not during a drag, nor while art blends).
  changed(mayPicture) {
    ++this.version;
    if (this.shown) {
      this.group.removeAttribute('display');
      this.picture.setAttribute('display', 'none');
      this.shown = false;
      this.board.dataset.snapshot = 'none';
    }
    clearTimeout(this.timer);
    // Quiet for a while, and then two frames on, by when the frame with the art is rastered: the picture's
    // work (as much again) does not hold back the art's first showing.
    const version = this.version;
    this.timer = setTimeout(() => requestAnimationFrame(() => requestAnimationFrame(() => {
      if (version === this.version) this.makePicture(mayPicture);
    })), this.knobs.quiet);
  }

  makePicture(mayPicture) {
    const version = this.version;
    if (this.shown || !mayPicture() || this.group.childElementCount < this.knobs.minimum) return;
    // The picture covers the art's outline with room for its widest stroke and mitred corners.
    let widest = 0;
    for (const path of this.group.querySelectorAll('path')) {
      if (path.getAttribute('stroke') === 'none') continue;
      widest = Math.max(widest, Number(path.getAttribute('stroke-width') || 1));
    }
    const box = this.group.getBBox();
    const pad = 2 * widest + 2;
    const [x, y, w, h] = [box.x - pad, box.y - pad, box.width + 2 * pad, box.height + 2 * pad];
    const text = `<svg xmlns="${SVG}" viewBox="${x} ${y} ${w} ${h}" width="${w}" height="${h}">` +
                 new XMLSerializer().serializeToString(this.group) + '</svg>';
    const url = URL.createObjectURL(new Blob([text], { type: 'image/svg+xml' }));
    const image = new Image();
    image.src = url;
    image.decode().then(() => {
      if (version !== this.version || !mayPicture()) { URL.revokeObjectURL(url); return; }
      if (this.url) URL.revokeObjectURL(this.url);
      this.url = url;
      for (const [name, value] of [['x', x], ['y', y], ['width', w], ['height', h], ['href', url]])
        this.picture.setAttribute(name, value);
      this.picture.removeAttribute('display');
      this.group.setAttribute('display', 'none');
      this.shown = true;
      this.board.dataset.snapshot = 'shown';
    }).catch(() => URL.revokeObjectURL(url));
  }
}

// The groups a drag's art goes to: under, below the settled art, and the over groups above it, the first
// of which is always there; more are made on top as a drag fills them.
class DrawnArt {
  constructor(under, firstOver, view) {
    this.under = under;
    this.overs = [firstOver];
    this.view = view;
    // How many art objects an over group holds before the art a drag puts on top of it starts the next one:
    // a trail's event then rasters only its newest group, while a drag that re-makes some tens of paths per
    // event keeps them in one layer (more layers cost each frame more than they save).
    this.overGroupSize = 64;
  }

  // The over group above `group`, made (in an SVG layer of its own, on top) when there is none.
  nextOver(group) {
    const at = this.overs.indexOf(group) + 1;
    if (at < this.overs.length) return this.overs[at];
    const layer = document.createElementNS(SVG, 'svg');
    layer.setAttribute('class', 'art-layer');
    layer.setAttribute('aria-hidden', 'true');
    const view = document.createElementNS(SVG, 'g');
    view.setAttribute('class', 'view');
    view.setAttribute('transform', this.view.transform());
    const next = document.createElementNS(SVG, 'g');
    next.setAttribute('class', 'art over');
    view.appendChild(next);
    layer.appendChild(view);
    group.ownerSVGElement.after(layer);
    this.overs.push(next);
    return next;
  }

  // Whether `group` is one of the over groups and holds as much as one should.
  full(group) {
    return group.classList.contains('over') && group.childElementCount >= this.overGroupSize;
  }

  // Drops the over groups but the first (empty by then).
  dropExtraOvers() {
    for (const group of this.overs.splice(1)) group.ownerSVGElement.remove();
  }
}

function moveChildren(from, to, atStart) {
  if (!from.firstChild) return false;
  const range = document.createRange();
  range.selectNodeContents(from);
  const children = range.extractContents();
  if (atStart) to.prepend(children); else to.append(children);
  return true;
}

export class Scene {
  // `view` is the View the layers share (view.js).
  constructor(view) {
    this.board = document.getElementById('board');
    this.pageRect = document.getElementById('page');
    this.settled = new SettledArt(document.getElementById('settled'), document.getElementById('settledPicture'),
                                  this.board);
    this.drawn = new DrawnArt(document.getElementById('under'), document.getElementById('over'), view);
    this.revision = 0;
    this.page = [612, 792];
    this.elements = new Map(); // art id -> SVG element
    this.blended = new Set();  // ids of the art drawn with a blend mode
    this.drawing = false;      // this page drags: its art goes to the drawn groups
  }

  get overGroupSize() { return this.drawn.overGroupSize; }
  set overGroupSize(size) { this.drawn.overGroupSize = size; }

  setPage(size) {
    this.page = size;
    this.pageRect.setAttribute('width', size[0]);
    this.pageRect.setAttribute('height', size[1]);
  }

  // Under and over take the drag's art while the page drags and no art blends.
  layered() { return this.drawing && this.blended.size === 0; }

  // Where all art goes when the layers merge: settled, or under when art blends with what is below it.
  home() { return this.blended.size === 0 ? this.settled.group : this.drawn.under; }

  // Gives `el` the paint of `art`; a new element (`fresh`) has nothing to take away, and no style of its own
  // unless it blends (a style of its own costs every element a style computed for it alone).
  paintAttributes(el, art, fresh = false) {
    ART_KINDS[art.t].draw(el, art, fresh);
    if ('op' in art) el.setAttribute('opacity', art.op); else if (!fresh) el.removeAttribute('opacity');
    if (art.blend || !fresh) el.style.mixBlendMode = art.blend || '';
    if (art.blend) this.blended.add(art.id); else if (!fresh) this.blended.delete(art.id);
  }

  build(art) {
    const el = document.createElementNS(SVG, ART_KINDS[art.t].tag);
    el.setAttribute('data-id', art.id);
    this.paintAttributes(el, art, true);
    this.elements.set(art.id, el);
    if (art.children) for (const child of art.children) el.appendChild(this.build(child));
    return el;
  }

  forget(el) {
    for (const gone of [el, ...el.querySelectorAll('[data-id]')]) {
      const id = Number(gone.dataset.id);
      this.elements.delete(id);
      this.blended.delete(id);
    }
    el.remove();
  }

  // Puts layer art directly above `below` (null: at the bottom of the layer). During a drag, art on top of
  // all other art goes to the over groups, and art at the bottom of the layer goes under (or over, when
  // nothing is under or settled), so that neither touches the settled art.
  placeInLayer(el, below) {
    const under = this.drawn.under, settled = this.settled.group, firstOver = this.drawn.overs[0];
    const group = below && below.parentNode;
    const atBottom = !group || !group.classList.contains('art');
    if (!this.layered()) {
      if (atBottom) (under.firstChild || this.home() === under ? under : settled).prepend(el); else below.after(el);
      return;
    }
    // The highest group under the over groups that holds art.
    const base = settled.firstChild ? settled : under.firstChild ? under : null;
    if (atBottom) {
      (base ? under : firstOver).prepend(el);
    } else if (group === base && below === group.lastChild) {
      firstOver.prepend(el);
    } else if (below === group.lastChild && this.drawn.full(group)) {
      this.drawn.nextOver(group).prepend(el);
    } else {
      below.after(el);
    }
  }

  // Brings all art into its home group, in the same order; whether any moved.
  mergeLayers() {
    const under = this.drawn.under, settled = this.settled.group;
    let moved = this.home() === settled ? moveChildren(under, settled, true) : moveChildren(settled, under, false);
    for (const group of this.drawn.overs) moved = moveChildren(group, this.home(), false) || moved;
    this.drawn.dropExtraOvers();
    return moved;
  }

  applyDelta(delta) {
    const settled = this.settled.group;
    const content = delta.removed.length + delta.placed.length + delta.changed.length > 0;
    let touched = delta.everything || (content && !this.layered());
    const inSettled = (el) => { if (!touched && settled.contains(el)) touched = true; };
    let placed = delta.placed;
    if (delta.everything) {
      for (const group of [this.drawn.under, settled, ...this.drawn.overs]) group.replaceChildren();
      this.elements.clear();
      this.blended.clear();
      if (delta.page) this.setPage(delta.page);
      // The whole document, bottom to top, as a new page gets it: built apart from the page and put in at
      // once, unless this page is drawing (its layers then take the art as the host places it).
      if (!this.layered() && placed.every((place, i) => !place.parent && place.art &&
                                          place.below === (i === 0 ? 0 : placed[i - 1].id))) {
        const all = document.createDocumentFragment();
        for (const place of placed) all.appendChild(this.build(place.art));
        this.home().append(all);
        placed = [];
      }
    }
    for (const id of delta.removed) {
      const el = this.elements.get(id);
      if (el) { inSettled(el); this.forget(el); }
    }
    for (const place of placed) {
      const el = place.art ? this.build(place.art) : this.elements.get(place.id);
      if (!el) continue;
      const below = place.below ? this.elements.get(place.below) : null;
      inSettled(el);
      if (!place.parent) {
        this.placeInLayer(el, below);
        inSettled(el);
        continue;
      }
      const parent = this.elements.get(place.parent);
      if (!parent) continue;
      if (below && below.parentNode === parent) below.after(el); else parent.prepend(el);
      inSettled(el);
    }
    for (const art of delta.changed) {
      const el = this.elements.get(art.id);
      if (el) { inSettled(el); this.paintAttributes(el, art); }
    }
    if (!this.layered() && this.mergeLayers()) touched = true;
    if (touched) this.settled.changed(() => !this.layered() && this.home() === settled);
    this.revision = delta.revision;
    this.board.dataset.revision = delta.revision;
    this.board.dataset.artCount = this.elements.size;
  }
}
