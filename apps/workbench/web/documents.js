// The documents on disk: the open document's name (renamed in place), and a list of every document in the
// host's folder with its thumbnail, size and age, to open one, or to restore one from the recycle bin.
// Duplicate copies the open document; Delete moves it to the recycle bin, and every page goes on with the
// latest other document. Nothing here is lost for good: the recycle bin keeps what was deleted.
import { showPicture } from './access.js';

function bytesText(bytes) {
  if (bytes < 1024) return `${bytes} bytes`;
  if (bytes < 1024 * 1024) return `${(bytes / 1024).toFixed(1)} KB`;
  return `${(bytes / 1024 / 1024).toFixed(1)} MB`;
}

function element(tag, className, text) {
  const made = document.createElement(tag);
  if (className) made.className = className;
  if (text !== undefined) made.textContent = text;
  return made;
}

export class Documents {
  constructor({ protocol, status }) {
    this.protocol = protocol;
    this.status = status;
    this.file = null;
    this.nameShown = document.getElementById('docName');
    this.nameInput = document.getElementById('docNameInput');
    this.backdrop = document.getElementById('documentsBackdrop');
    // The File menu closes once one of its items is chosen.
    const menu = document.getElementById('fileMenu');
    menu.querySelector('.menu').addEventListener('click', () => { menu.open = false; });
    document.getElementById('openDocs').addEventListener('click', () => this.showList());
    document.getElementById('closeDocs').addEventListener('click', () => { this.backdrop.hidden = true; });
    this.backdrop.addEventListener('keydown', (event) => { if (event.key === 'Escape') this.backdrop.hidden = true; });
    document.getElementById('renameDoc').addEventListener('click', () => this.startRename());
    this.nameShown.addEventListener('dblclick', () => this.startRename());
    this.nameInput.addEventListener('keydown', (event) => {
      if (event.key === 'Enter') this.finishRename(true);
      if (event.key === 'Escape') this.finishRename(false);
    });
    this.nameInput.addEventListener('blur', () => this.finishRename(true));
    document.getElementById('duplicateDoc').addEventListener('click', () => {
      this.protocol.send({ do: 'duplicate' }).then(() => this.status(`a copy of "${this.file.name}" is in Open…`))
        .catch((error) => this.status(error.message));
    });
    document.getElementById('deleteDoc').addEventListener('click', () => {
      if (!this.file || !this.file.id) return;
      const name = this.file.name;
      this.protocol.send({ do: 'delete', document: this.file.id })
        .then(() => this.status(`"${name}" is in the recycle bin (Open… to restore it)`))
        .catch((error) => this.status(error.message));
    });
  }

  // The open document, as the host says: { id, name, kept }.
  showFile(file) {
    this.file = file;
    this.nameShown.textContent = file.name;
    document.getElementById('statusDocName').textContent = file.name;
    document.title = `${file.name} — Zigzag workbench`;
    for (const id of ['openDocs', 'renameDoc', 'duplicateDoc', 'deleteDoc'])
      document.getElementById(id).disabled = !file.kept;
  }

  startRename() {
    if (!this.file || !this.file.kept) return;
    this.nameInput.value = this.file.name;
    this.nameShown.hidden = true;
    this.nameInput.hidden = false;
    this.nameInput.focus();
    this.nameInput.select();
  }

  finishRename(keep) {
    if (this.nameInput.hidden) return;
    this.nameInput.hidden = true;
    this.nameShown.hidden = false;
    const name = this.nameInput.value.trim();
    if (!keep || name === '' || name === this.file.name) return;
    this.protocol.send({ do: 'rename', name }).catch((error) => this.status(error.message));
  }

  async showList() {
    let answer;
    try {
      answer = await this.protocol.send({ do: 'documents' });
    } catch (error) {
      this.status(error.message);
      return;
    }
    const list = document.getElementById('documentList');
    const recycled = document.getElementById('recycledList');
    list.replaceChildren();
    recycled.replaceChildren();
    for (const one of answer.documents) (one.deleted ? recycled : list).append(this.entry(one));
    document.getElementById('recycleBin').hidden = recycled.childElementCount === 0;
    document.getElementById('documentsFolder').textContent = `Kept in ${answer.folder}`;
    this.backdrop.hidden = false;
    document.getElementById('closeDocs').focus();
  }

  entry(one) {
    const item = element('li', one.current ? 'current' : one.problem ? 'problem' : '');
    item.dataset.id = one.id;
    if (one.thumbnail) {
      const picture = element('img');
      picture.alt = '';
      showPicture(picture, `/api/thumbnail/${one.id}.png?at=${one.modified}`).catch(() => {});
      item.append(picture);
    } else {
      item.append(element('div', 'noThumbnail'));
    }
    item.append(element('div', 'name', one.name));
    item.title = one.name;
    if (one.problem) {
      item.append(element('div', 'facts', `This file ${one.problem}.`));
      return item;
    }
    const when = new Date(one.modified).toLocaleString();
    item.append(element('div', 'facts', `${one.art} art · ${bytesText(one.bytes)} · ${when}`));
    const act = (label, command, done) => {
      const button = element('button', '', label);
      button.addEventListener('click', () => this.protocol.send(command).then(done)
        .catch((error) => this.status(error.message)));
      item.append(button);
    };
    if (one.deleted) {
      act('Restore', { do: 'restore', document: one.id }, () => this.showList());
    } else if (one.current) {
      item.append(element('div', 'facts', 'open now'));
    } else {
      act('Open', { do: 'open', document: one.id }, () => { this.backdrop.hidden = true; });
    }
    return item;
  }
}
