// The panels around the drawing: the palette, the tool bar, the list of
// diagrams, the information bar, the pop-up menu and message boxes. Each
// shows what the server sent and reports the user's pick by callback.

function element(tag, attributes = {}, text = '') {
  const node = document.createElement(tag);
  for (const [key, value] of Object.entries(attributes)) node.setAttribute(key, value);
  if (text) node.textContent = text;
  return node;
}

// A small drawing of what the entry draws.
const GLYPHS = {
  PaletteBox: '<rect x="2" y="2" width="14" height="10" rx="1" fill="#fff" stroke="#333"/>',
  PaletteFreeBox: '<rect x="2" y="2" width="14" height="10" fill="#fff" stroke="#333" stroke-dasharray="2 1"/>',
  PaletteLine: '<line x1="2" y1="12" x2="16" y2="2" stroke="#333" stroke-width="1.5"/>',
  PaletteFreeLine: '<polyline points="2,12 7,4 11,10 16,2" fill="none" stroke="#333" stroke-dasharray="2 1"/>',
  PalettePin: '<rect x="2" y="2" width="9" height="10" fill="#fff" stroke="#333"/><rect x="9" y="5" width="5" height="5" fill="#333"/>',
};

export function showPalette(host, entries, armed, onPick) {
  host.replaceChildren();
  for (const entry of entries) {
    const button = element('button', {
      type: 'button', 'data-palette': entry.id, 'data-class': entry.class, title: entry.class,
    });
    button.innerHTML = `<svg class="glyph" viewBox="0 0 18 14">${GLYPHS[entry.class] ?? ''}</svg>`;
    button.append(entry.caption);
    if (armed && armed.id === entry.id) button.classList.add('armed');
    button.addEventListener('click', () => onPick(entry));
    host.append(button);
  }
}

export function showTools(host, tools, onPick) {
  host.replaceChildren();
  for (const tool of tools) {
    const button = element('button', { type: 'button', 'data-tool': tool.id }, tool.caption);
    button.addEventListener('click', () => onPick(tool));
    host.append(button);
  }
}

export function showDiagrams(host, diagrams, current, onOpen) {
  host.replaceChildren();
  for (const diagram of diagrams) {
    const item = element('li', { 'data-diagram': diagram.id }, diagram.caption || '(no caption)');
    item.append(element('span', { class: 'type' }, diagram.type));
    if (diagram.id === current) item.classList.add('current');
    item.addEventListener('click', () => onOpen(diagram));
    host.append(item);
  }
}

export function showInfo(host, text, notes = []) {
  host.replaceChildren(text);
  for (const note of notes) host.append(element('span', { class: 'note' }, note));
}

// The pop-up menu at the pointer; a pick or a click elsewhere closes it.
export class PopUpMenu {
  constructor(host) {
    this.host = host;
    document.addEventListener('mousedown', (event) => {
      if (!this.host.hidden && !this.host.contains(event.target)) this.close();
    });
  }

  open(items, at, onPick) {
    this.host.replaceChildren();
    for (const item of items) {
      const button = element('button', { type: 'button', role: 'menuitem', 'data-item': item.item },
        item.caption);
      button.addEventListener('click', () => {
        this.close();
        onPick(item);
      });
      this.host.append(button);
    }
    this.host.style.left = `${Math.min(at.x, window.innerWidth - 180)}px`;
    this.host.style.top = `${Math.min(at.y, window.innerHeight - 30 * items.length - 10)}px`;
    this.host.hidden = items.length === 0;
    this.host.querySelector('button')?.focus();
  }

  get isOpen() {
    return !this.host.hidden;
  }

  close() {
    this.host.hidden = true;
    this.host.replaceChildren();
  }
}

// Modal message boxes, one at a time, in the order shown.
export class MessageBoxes {
  constructor(host) {
    this.host = host;
    this.waiting = [];
    this.whenDone = [];
  }

  get isOpen() {
    return this.host.childElementCount > 0;
  }

  // Resolves once no message box is open.
  closed() {
    if (!this.isOpen) return Promise.resolve();
    return new Promise((resolve) => this.whenDone.push(resolve));
  }

  show(messages) {
    this.waiting.push(...messages);
    if (!this.isOpen) this.next();
  }

  next() {
    this.host.replaceChildren();
    const message = this.waiting.shift();
    if (!message) {
      this.whenDone.splice(0).forEach((resolve) => resolve());
      return;
    }
    const layer = element('div', { class: 'message-layer' });
    const box = element('div', { class: `message-box ${message.kind}`, role: 'alertdialog' });
    box.append(element('pre', {}, message.text));
    const buttons = element('div', { class: 'buttons' });
    const ok = element('button', { type: 'button' }, 'OK');
    ok.addEventListener('click', () => this.next());
    buttons.append(ok);
    box.append(buttons);
    layer.append(box);
    this.host.append(layer);
    ok.focus();
  }
}
