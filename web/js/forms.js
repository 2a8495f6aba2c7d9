// The dialog engine's forms drawn as HTML from their D# components. Typing
// into a field, pressing a button and closing the window are gestures; a
// component the gesture layer has no gesture for is shown read-only.

function element(tag, attributes = {}, text = '') {
  const node = document.createElement(tag);
  for (const [key, value] of Object.entries(attributes)) node.setAttribute(key, value);
  if (text) node.textContent = text;
  return node;
}

const isTrue = (value) => value === 'true' || value === '1';
const parts = (component, role) => component.parts[role] ?? [];
const linked = (component, role) => component.links[role] ?? [];

const ROW_CONTAINERS = new Set(['D#Row', 'D#HorizontalBox']);
const COLUMN_CONTAINERS = new Set([
  'D#Form', 'D#VerticalBox', 'D#Column', 'D#Group', 'D#Container', 'D#HorizontalScrollBoxWrapper', 'D#Tab',
]);
const TEXT_FIELDS = new Set(['D#InputField', 'D#TextBox', 'D#TextArea', 'D#ComboBox']);

// Draws one form; ACT(gesture) sends a form gesture naming the form.
class FormPainter {
  constructor(form, act) {
    this.form = form;
    this.act = act;
    this.defaultButton = linked(form, 'defaultButton')[0];
    this.focused = linked(form, 'focused')[0];
  }

  paint() {
    const box = element('div', { class: 'form', role: 'dialog', 'data-form': this.form.id });
    const title = element('div', { class: 'title' });
    title.append(element('span', { class: 'caption' }, this.form.values.caption ?? ''));
    const close = element('button', { class: 'close', type: 'button', title: 'Close', 'aria-label': 'Close' }, '×');
    close.addEventListener('click', () => this.act({ gesture: 'closeForm' }));
    title.append(close);
    const body = element('div', { class: 'body' });
    for (const child of parts(this.form, 'component')) body.append(this.component(child));
    box.append(title, body);
    return box;
  }

  component(c) {
    const node = this.draw(c);
    node.dataset.component = c.id;
    if (c.values.id) node.dataset.id = c.values.id;
    if (c.values.enabled === 'false' && 'disabled' in node) node.disabled = true;
    return node;
  }

  draw(c) {
    if (ROW_CONTAINERS.has(c.class)) return this.container(c, 'row');
    if (COLUMN_CONTAINERS.has(c.class)) return this.container(c, 'vbox');
    switch (c.class) {
      case 'D#TabContainer': return this.tabs(c);
      case 'D#Label': return element('span', { class: 'label' }, c.values.caption ?? '');
      case 'D#Button': return this.button(c);
      case 'D#CheckBox': return this.checkBox(c);
      case 'D#ListBox': return this.list(c);
      case 'D#VTable': return this.table(c);
      case 'D#Tree': return this.tree(c);
      case 'D#MultiLineTextBox': return this.lines(c);
      case 'D#Image': return element('span', { class: 'read-only' }, `[${c.values.fileName ?? 'image'}]`);
      default:
        if (TEXT_FIELDS.has(c.class)) return this.textField(c);
        return element('span', { class: 'unknown' }, c.class);
    }
  }

  container(c, kind) {
    const node = element('div', { class: kind });
    for (const child of parts(c, 'component')) node.append(this.component(child));
    return node;
  }

  // Tabs switch in the page: no gesture changes the active tab yet.
  tabs(c) {
    const node = element('div', { class: 'tabs' });
    const heads = element('div', { class: 'heads' });
    const pages = parts(c, 'component');
    const active = linked(c, 'activeTab')[0] ?? pages[0]?.id;
    const shown = element('div', { class: 'page' });
    const select = (page, head) => {
      heads.querySelectorAll('button').forEach((b) => b.classList.remove('active'));
      head.classList.add('active');
      shown.replaceChildren(this.component(page));
    };
    for (const page of pages) {
      const head = element('button', { type: 'button' }, page.values.caption ?? '');
      head.addEventListener('click', () => select(page, head));
      heads.append(head);
      if (page.id === active) select(page, head);
    }
    node.append(heads, shown);
    return node;
  }

  textField(c) {
    const readOnly = isTrue(c.values.readOnly) || c.values.editable === 'false';
    const multiLine = c.class === 'D#TextArea';
    const field = element(multiLine ? 'textarea' : 'input', { class: 'field' });
    field.value = c.values.text ?? '';
    if (c.values.hint) field.title = c.values.hint;
    if (readOnly) field.readOnly = true;
    if (c.class === 'D#ComboBox') {
      const list = element('datalist', { id: `items-${c.id}` });
      for (const item of parts(c, 'item')) list.append(element('option', { value: item.values.value ?? '' }));
      field.setAttribute('list', list.id);
      const wrap = element('span');
      wrap.append(field, list);
      this.wire(field, c);
      return wrap;
    }
    this.wire(field, c);
    return field;
  }

  // The text goes to the server when the user leaves the field or presses
  // Enter, before any button pressed after it.
  wire(field, c) {
    if (c.id === this.focused) field.autofocus = true;
    let sent = field.value;
    const send = () => {
      if (field.readOnly || field.value === sent) return;
      sent = field.value;
      this.act({ gesture: 'typeIntoField', field: c.id, text: field.value });
    };
    field.addEventListener('change', send);
    field.addEventListener('keydown', (event) => {
      if (event.key === 'Enter' && field.tagName === 'INPUT') send();
    });
  }

  button(c) {
    const node = element('button', { type: 'button', class: 'field' }, c.values.caption ?? '');
    if (c.id === this.defaultButton) node.classList.add('default');
    node.addEventListener('mousedown', (event) => event.preventDefault());
    node.addEventListener('click', () => {
      const active = document.activeElement;
      if (active && active.classList.contains('field') && active.tagName !== 'BUTTON')
        active.dispatchEvent(new Event('change'));
      this.act({ gesture: 'pressButton', button: c.id });
    });
    return node;
  }

  checkBox(c) {
    const label = element('label', { class: 'read-only' });
    const box = element('input', { type: 'checkbox', disabled: '' });
    box.checked = isTrue(c.values.checked);
    label.append(box, ` ${c.values.caption ?? ''}`);
    return label;
  }

  list(c) {
    const selected = new Set(linked(c, 'selected'));
    const node = element('ul', { class: 'list read-only' });
    for (const item of parts(c, 'item')) {
      const li = element('li', {}, item.values.value ?? '');
      if (selected.has(item.id)) li.classList.add('selected');
      node.append(li);
    }
    return node;
  }

  table(c) {
    const node = element('table', { class: 'read-only' });
    const types = parts(c, 'component').filter((t) => t.class === 'D#VTableType');
    const columns = types.flatMap((t) => parts(t, 'component')).filter((t) => t.class === 'D#VTableColumnType');
    if (columns.length) {
      const head = element('tr');
      for (const column of columns) head.append(element('th', {}, column.values.caption ?? ''));
      node.append(head);
    }
    for (const row of parts(c, 'vTableRow')) {
      const tr = element('tr');
      for (const cell of parts(row, 'vTableCell')) tr.append(element('td', {}, cell.values.value ?? ''));
      node.append(tr);
    }
    return node;
  }

  tree(c) {
    const selected = new Set(linked(c, 'selected'));
    const branch = (nodes) => {
      const ul = element('ul', { class: 'tree read-only' });
      for (const n of nodes) {
        const li = element('li', {}, n.values.text ?? '');
        if (selected.has(n.id)) li.classList.add('selected');
        const children = parts(n, 'childNode');
        if (children.length) li.append(branch(children));
        ul.append(li);
      }
      return ul;
    };
    return branch(parts(c, 'treeNode'));
  }

  lines(c) {
    const node = element('div', { class: 'vbox read-only' });
    for (const line of parts(c, 'textLine')) node.append(element('span', {}, line.values.text ?? ''));
    return node;
  }
}

// The open forms, the oldest first; a modal one blocks everything behind it.
export class Forms {
  constructor(host, act) {
    this.host = host;
    this.act = act;
    this.open = new Map();
  }

  get modal() {
    return [...this.open.values()].some((form) => form.modal);
  }

  get activeForm() {
    return [...this.open.keys()].pop() ?? null;
  }

  showAll(forms) {
    this.open.clear();
    for (const form of forms) this.open.set(form.id, form);
    this.render();
  }

  update({ opened = [], changed = [], closed = [] }) {
    for (const id of closed) this.open.delete(id);
    for (const form of [...opened, ...changed]) this.open.set(form.id, form);
    if (opened.length || changed.length || closed.length) this.render();
  }

  render() {
    this.host.replaceChildren();
    for (const form of this.open.values()) {
      const layer = element('div', { class: `form-layer${form.modal ? ' modal' : ''}` });
      if (form.modal) layer.append(element('div', { class: 'backdrop' }));
      const painted = new FormPainter(form, (gesture) => this.act({ ...gesture, form: form.id })).paint();
      layer.append(painted);
      this.host.append(layer);
    }
    const focus = this.host.querySelector('[autofocus]') ?? this.host.querySelector('.form:last-of-type .field');
    focus?.focus();
  }
}
