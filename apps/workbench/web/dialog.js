// The options dialog, drawn from the host's model of it (apps/script/DialogView.h): every item at the
// place the module gave it, and every action on an item sent to the host as a "dialog" command, whose answer
// (and the "dialog" event every page gets) is the dialog as it now is.
//
// What the host adds of its own (apps/workbench/DialogNotes.h) is drawn as a desktop host draws it: a list's
// caption as its header, a popup's to its left; a page button is down while its page is shown; a popup
// entry's hint is its hover text, and the popup's own hover text is its chosen entry whole with its hint.
// A popup is never narrower than its longest entry needs, so that the chosen one shows whole.
//
// A double-click on the tool sends editOptions, which the host answers only when the dialog ends; meanwhile
// the dialog's commands go over the same socket.
import { pictureUrl } from './access.js';

// The item that ends a dialog as its Cancel button does.
const CANCEL_ITEM = 2;

export class OptionsDialog {
  // `changed(open)` is told whenever the dialog opens or ends.
  constructor({ protocol, status, changed }) {
    Object.assign(this, { protocol, status, changed });
    this.backdrop = document.getElementById('dialogBackdrop');
    this.title = document.getElementById('dialogTitle');
    this.body = document.getElementById('dialogBody');
    this.model = null;
    this.shownText = 'null';
    this.toolName = ''; // the dialog is titled with the tool's name, as a desktop host titles it
  }

  get open() { return this.model !== null; }

  // The double-click on the tool.
  edit() {
    return this.protocol.send({ do: 'editOptions' })
      .then((answer) => this.status(answer.closedWith === 1 ? 'options applied' : 'options cancelled'))
      .catch((error) => this.status(error.message));
  }

  act(action) {
    return this.protocol.send({ do: 'dialog', ...action })
      .then((answer) => {
        if (answer.refusal) this.status(answer.refusal);
        // Drawn again even when unchanged: the control used may show what the host did not take.
        this.show(answer.dialog, { again: true });
      })
      .catch((error) => this.status(error.message));
  }

  cancel() { return this.act({ action: 'close', item: CANCEL_ITEM }); }

  // Shows `model` (null: no dialog). The dialog as it is shown already is left alone unless `again`, so that
  // news of it from the host does not disturb the control in use.
  show(model, { again = false } = {}) {
    const text = JSON.stringify(model || null);
    if (text === this.shownText && !again) return;
    this.shownText = text;
    const wasOpen = this.open;
    this.model = model || null;
    if (!model) {
      this.backdrop.hidden = true;
      this.body.replaceChildren();
    } else {
      const focused = document.activeElement && document.activeElement.closest('[data-item]');
      const focusedItem = focused ? focused.dataset.item : null;
      this.title.textContent = this.toolName || model.name;
      this.body.style.width = `${model.width}px`;
      this.body.style.height = `${model.height}px`;
      this.body.replaceChildren(...model.items.filter((item) => item.visible).flatMap((item) => this.drawn(item)));
      this.backdrop.hidden = false;
      if (focusedItem) {
        const again = this.body.querySelector(`[data-item="${focusedItem}"]`);
        if (again && again.focus) again.focus();
      }
    }
    if (wasOpen !== this.open) this.changed(this.open);
  }

  // The elements that draw `item`: its control, and the caption beside it when it has one.
  drawn(item) {
    const el = this.item(item);
    if (!item.caption) return [el];
    el.setAttribute('aria-label', item.caption);
    return item.kind === 'list' ? [el] : [captionBeside(item), el];
  }

  // The control that draws `item`, made by the maker of its kind (a frame's outline for a kind it has none for).
  item(item) {
    const maker = ITEM_MAKERS[item.kind] || ITEM_MAKERS.frame;
    return maker(this, item, !item.enabled);
  }
}

function make(tag, className) {
  const el = document.createElement(tag);
  if (className) el.className = className;
  return el;
}

// The control of each item kind the host names (DialogView.h), made for dialog `view`: (view, item, disabled).
const ITEM_MAKERS = {
  label(view, item) {
    const el = make('div', 'label');
    el.textContent = item.text;
    return place(el, item);
  },
  spin(view, item, disabled) {
    const el = make('input', 'spin');
    el.type = 'number';
    el.value = item.text;
    el.step = item.whole ? '1' : 'any';
    if (item.min !== undefined && item.min !== null) el.min = item.min;
    if (item.max !== undefined && item.max !== null) el.max = item.max;
    el.disabled = disabled;
    el.addEventListener('change', () => {
      const value = Number(el.value);
      if (el.value !== '' && Number.isFinite(value)) view.act({ action: 'value', item: item.id, value });
    });
    return place(el, item);
  },
  check(view, item, disabled) {
    const el = make('label', 'check');
    const box = make('input');
    box.type = 'checkbox';
    box.checked = item.value;
    box.disabled = disabled;
    box.addEventListener('change', () => view.act({ action: 'click', item: item.id }));
    el.append(box, document.createTextNode(item.text));
    return place(el, item);
  },
  popup(view, item, disabled) {
    const el = make('select');
    for (const entry of item.entries) {
      const option = make('option');
      option.value = entry.id;
      option.textContent = entry.text;
      if (entry.hint) option.title = entry.hint;
      el.appendChild(option);
    }
    if (item.active !== null) el.value = item.active;
    const chosen = item.entries.find((entry) => entry.id === item.active);
    if (chosen) el.title = chosen.text.trim() + (chosen.hint ? `: ${chosen.hint}` : '');
    el.disabled = disabled;
    el.addEventListener('change', () => view.act({ action: 'select', item: item.id, entry: Number(el.value) }));
    place(el, item);
    // At least as wide as the module made it, wider when its longest entry needs it.
    el.style.minWidth = el.style.width;
    el.style.width = 'auto';
    return el;
  },
  list(view, item, disabled) {
    const el = make('div', 'list');
    el.setAttribute('role', 'listbox');
    if (item.caption) {
      const header = make('div', 'caption');
      header.textContent = item.caption;
      el.appendChild(header);
    }
    const rows = make('div', 'rows');
    el.appendChild(rows);
    for (const entry of item.entries) {
      const row = make('div', 'row' + (entry.id === item.active ? ' active' : ''));
      row.dataset.entry = entry.id;
      row.setAttribute('role', 'option');
      row.setAttribute('aria-selected', String(entry.id === item.active));
      if (entry.picture) {
        const picture = make('img');
        pictureUrl(`/api/bitmap/${entry.picture}.png`).then((url) => { picture.src = url; }, () => {});
        picture.alt = '';
        row.appendChild(picture);
      }
      row.appendChild(document.createTextNode(entry.text));
      if (!disabled) {
        row.addEventListener('click', () => view.act({ action: 'select', item: item.id, entry: entry.id }));
      }
      rows.appendChild(row);
    }
    place(el, item);
    requestAnimationFrame(() => {
      const active = el.querySelector('.row.active');
      if (active) active.scrollIntoView({ block: 'nearest' });
    });
    return el;
  },
  button(view, item, disabled) {
    const el = make('button');
    el.type = 'button';
    el.textContent = item.text;
    el.disabled = disabled;
    // A page button is named by the label under it, and is down while its page is shown.
    if ('pressed' in item) {
      el.classList.add('page');
      el.setAttribute('aria-pressed', String(item.pressed));
      if (item.labelledBy) el.setAttribute('aria-labelledby', itemId(item.labelledBy));
    }
    el.addEventListener('click', () => view.act({ action: 'click', item: item.id }));
    return place(el, item);
  },
  frame(view, item) { // a frame, or an item the page has no control for: its outline
    return place(make('div', 'frame'), item);
  },
};

// The element id of the element that draws dialog item `id`.
const itemId = (id) => `dialogItem${id}`;

function place(el, item) {
  const [l, t, r, b] = item.rect;
  Object.assign(el.style, { left: `${l}px`, top: `${t}px`, width: `${r - l}px`, height: `${b - t}px` });
  el.dataset.item = item.id;
  el.id = itemId(item.id);
  if (!item.enabled) el.classList.add('disabled');
  if (item.bold) el.classList.add('bold');
  return el;
}

// A control's caption to its left, as wide as the room there (at most CAPTION_WIDTH), its text ending a
// little before the control.
const CAPTION_WIDTH = 120;
function captionBeside(item) {
  const el = document.createElement('div');
  el.className = 'label caption-beside';
  el.textContent = item.caption;
  const [l, t, , b] = item.rect;
  const width = Math.min(CAPTION_WIDTH, l);
  Object.assign(el.style, { left: `${l - width}px`, top: `${t}px`, width: `${width - 6}px`, height: `${b - t}px` });
  if (!item.enabled) el.classList.add('disabled');
  return el;
}
