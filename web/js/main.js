// The editor page: a front end of the server's gesture layer. It shows what
// the server sends (the current diagram, its palette and tool bar, the
// diagrams, forms, menus, messages) and sends every gesture back; what a
// gesture changed comes back as its outcome, which the page applies piece by
// piece. Outcomes are numbered: every open page applies them in order,
// whether they come as the answer to its own gesture or pushed by the
// server for a gesture made in another page.

import { ApiError, getJson, sendGesture, watch } from './api.js';
import { Canvas } from './canvas.js';
import { exportPng, exportSvg } from './exporter.js';
import { Forms } from './forms.js';
import { keyText } from './keys.js';
import { MessageBoxes, PopUpMenu, showDiagrams, showInfo, showPalette, showTools } from './panels.js';
import { Pointer } from './pointer.js';

// Gestures that act on the current diagram name it, so that the server can
// refuse one made on a page that has not caught up yet.
const DIAGRAM_GESTURES = new Set([
  'drawBox', 'drawLine', 'drawPin', 'drawFreeBox', 'drawFreeLine', 'editFreeBox', 'editFreeLine',
  'moveLineEnd', 'changeParent', 'moveElement', 'select', 'doubleClick', 'rightClick', 'selectTool',
  'pressKey', 'editText',
]);
const MODAL_KINDS = new Set(['message', 'error']);
// An outcome missing this long means a page fell behind: it reloads.
const GAP_PATIENCE_MS = 2000;
const NOTE_MS = 6000;

const byId = (id) => document.getElementById(id);

class Editor {
  constructor() {
    this.scroller = byId('canvas');
    this.canvas = new Canvas(byId('drawing'), this.scroller);
    this.forms = new Forms(byId('forms'), (gesture) => this.gesture(gesture));
    this.menu = new PopUpMenu(byId('menu'));
    this.messages = new MessageBoxes(byId('messages'));
    this.pointer = new Pointer(this, this.scroller);
    this.diagram = null;
    this.diagrams = [];
    this.selection = [];
    this.armed = null;
    this.seq = 0;
    this.pending = new Map();
    this.waiters = [];
    this.infoText = '';
    this.notes = [];
    this.timings = [];
    this.busy = 0;
    document.addEventListener('keydown', (event) => this.key(event));
    byId('export-svg').addEventListener('click', () => exportSvg(this.diagram?.caption).catch((e) => this.note(e.message)));
    byId('export-png').addEventListener('click', () => exportPng(this.diagram?.caption).catch((e) => this.note(e.message)));
    window.addEventListener('resize', () => this.canvas.svg && this.canvas.fitToView());
  }

  get blocked() {
    return this.forms.modal || this.messages.isOpen;
  }

  focusCanvas() {
    if (document.activeElement !== this.scroller) this.scroller.focus({ preventScroll: true });
  }

  // ---- state from the server

  async reload() {
    const state = await getJson('/api/state');
    this.source?.close();
    this.pending.clear();
    this.seq = state.seq;
    this.project = state.project;
    byId('project').textContent = state.project;
    document.title = `${state.project} — grtool`;
    this.showDiagram(state.current);
    this.showDiagramList(state.diagrams);
    this.forms.showAll(state.forms);
    this.infoText = state.infoBar;
    this.showInfoBar();
    this.source = watch(this.seq, { onOutcome: (outcome) => this.receive(outcome), onReload: () => this.reload() });
    this.releaseWaiters(Infinity);
  }

  showDiagram(diagram) {
    this.diagram = diagram ? { ...diagram, svg: undefined } : null;
    this.selection = diagram?.selection ?? [];
    this.disarm();
    if (diagram) this.canvas.load(diagram.svg, this.selection);
    else this.canvas.clear();
    byId('diagram-title').textContent = diagram?.caption ?? '';
    showTools(byId('tools'), diagram?.tools ?? [], (tool) => this.gesture({ gesture: 'selectTool', tool: tool.id }));
    this.showPalette();
  }

  showPalette() {
    showPalette(byId('palette'), this.diagram?.palette ?? [], this.armed, (entry) => this.arm(entry));
  }

  showDiagramList(diagrams) {
    this.diagrams = diagrams;
    const current = this.diagram?.id;
    const shown = diagrams.find((d) => d.id === current);
    if (shown && this.diagram) {
      this.diagram.caption = shown.caption;
      byId('diagram-title').textContent = shown.caption;
    }
    showDiagrams(byId('diagrams'), diagrams, current, (d) => this.gesture({ gesture: 'openDiagram', target: d.id }));
  }

  showInfoBar() {
    showInfo(byId('infobar'), this.infoText, this.notes);
  }

  note(text) {
    this.notes = [text];
    this.showInfoBar();
    clearTimeout(this.noteTimer);
    this.noteTimer = setTimeout(() => {
      this.notes = [];
      this.showInfoBar();
    }, NOTE_MS);
  }

  // ---- outcomes, in order

  receive(outcome) {
    if (outcome.seq <= this.seq) return;
    this.pending.set(outcome.seq, outcome);
    while (this.pending.has(this.seq + 1)) {
      const next = this.pending.get(this.seq + 1);
      this.pending.delete(next.seq);
      this.seq = next.seq;
      this.apply(next);
    }
    this.releaseWaiters(this.seq);
    clearTimeout(this.gapTimer);
    if (this.pending.size) this.gapTimer = setTimeout(() => this.reload(), GAP_PATIENCE_MS);
  }

  apply(outcome) {
    if ('current' in outcome) {
      this.showDiagram(outcome.current);
    } else if (outcome.currentDiagram !== (this.diagram?.id ?? 0)) {
      this.reload();
      return;
    } else if (this.canvas.svg) {
      const fragments = [...(outcome.added ?? []), ...(outcome.changed ?? [])];
      if (!this.canvas.apply(outcome.removed ?? [], fragments)) {
        this.reload();
        return;
      }
      if (outcome.selection) this.selection = outcome.selection;
      this.canvas.showSelection(this.selection);
    }
    if (outcome.diagrams) this.showDiagramList(outcome.diagrams);
    this.forms.update(outcome.forms ?? {});
    this.infoText = outcome.infoBar ?? '';
    this.showInfoBar();
  }

  applied(seq) {
    if (this.seq >= seq) return Promise.resolve();
    return new Promise((resolve) => this.waiters.push({ seq, resolve }));
  }

  releaseWaiters(seq) {
    const ready = this.waiters.filter((w) => w.seq <= seq);
    this.waiters = this.waiters.filter((w) => w.seq > seq);
    ready.forEach((w) => w.resolve());
  }

  // ---- gestures

  // Sends the gesture and resolves, once the page shows its outcome, to the
  // outcome (null when the server refused it, which the information bar
  // says). The menu and message boxes it brought show in this page only.
  async gesture(request, timing = null) {
    if (DIAGRAM_GESTURES.has(request.gesture)) {
      if (!this.diagram) return null;
      request = { ...request, diagram: this.diagram.id };
    }
    this.busy += 1;
    try {
      const outcome = await sendGesture(request);
      this.receive(outcome);
      await this.applied(outcome.seq);
      if (timing?.started !== undefined) this.recordTiming(request.gesture, timing.started);
      if (outcome.menu) this.menu.open(outcome.menu, this.menuAt ?? { x: 40, y: 40 }, (item) => this.gesture({ gesture: 'chooseMenuItem', item: item.item }));
      this.messages.show(outcome.messages.filter((m) => MODAL_KINDS.has(m.kind)));
      const notes = outcome.messages.filter((m) => m.kind === 'note');
      if (notes.length) this.note(notes.map((m) => m.text).join(' '));
      return outcome;
    } catch (error) {
      if (!(error instanceof ApiError)) throw error;
      this.note(error.message);
      if (/not the current diagram|is not open|not the active form/.test(error.message)) await this.reload();
      return null;
    } finally {
      this.busy -= 1;
    }
  }

  // From the user's click to the page showing what it did, painted.
  recordTiming(gesture, started) {
    requestAnimationFrame(() => setTimeout(() => {
      this.timings.push({ gesture, ms: performance.now() - started });
    }, 0));
  }

  rightClick(element, at) {
    this.menuAt = at;
    this.gesture({ gesture: 'rightClick', element }, { started: performance.now() });
  }

  arm(entry) {
    this.armed = this.armed?.id === entry.id ? null : entry;
    this.pointer.cancel();
    this.scroller.classList.toggle('drawing-mode', Boolean(this.armed));
    this.showPalette();
  }

  disarm() {
    if (!this.armed) return;
    this.armed = null;
    this.scroller.classList.remove('drawing-mode');
    this.showPalette();
  }

  key(event) {
    if (this.messages.isOpen) {
      if (event.key === 'Enter' || event.key === 'Escape') {
        event.preventDefault();
        this.messages.next();
      }
      return;
    }
    if (event.key === 'Escape') {
      this.menu.close();
      this.pointer.cancel();
      this.disarm();
      return;
    }
    const target = event.target;
    if (this.menu.isOpen || this.blocked || !this.diagram) return;
    if (target.closest?.('input, textarea, select, .form, .in-place, button')) return;
    const text = keyText(event);
    if (!text) return;
    event.preventDefault();
    this.gesture({ gesture: 'pressKey', key: text }, { started: event.timeStamp });
  }

  // ---- texts in place

  // Opens the editor on the compartment when the type says it is edited in
  // place; false when it is not.
  async editTextInPlace(element, compartment) {
    const info = await getJson(`/api/elements/${element}`);
    const text = info.texts.find((t) => t.compartment === compartment && t.editable);
    if (!text) return false;
    this.openInPlace(element, text);
    return true;
  }

  // A box just drawn whose name is typed in place gets the editor, once the
  // messages its drawing brought are read and the dialog it opened (its type's
  // properties) is closed.
  async editNewElement(outcome) {
    const added = outcome?.added?.[0];
    const text = added?.texts?.find((t) => t.editable && t.input === '');
    if (!added || !text) return;
    await this.messages.closed();
    while (this.forms.modal) await new Promise((resolve) => setTimeout(resolve, 20));
    await this.messages.closed();
    this.openInPlace(added.id, text);
  }

  openInPlace(element, text) {
    const group = this.canvas.group(element);
    if (!group) return;
    const anchor = group.querySelector(`text.compartment[data-compartment="${text.compartment}"]`) ??
      group.querySelector(':scope > .shape') ?? group;
    const r = anchor.getBoundingClientRect();
    const s = this.scroller.getBoundingClientRect();
    const field = document.createElement(text.multiLine ? 'textarea' : 'input');
    field.className = 'in-place';
    field.value = text.input;
    field.dataset.compartment = text.compartment;
    field.title = text.caption;
    field.style.left = `${r.left - s.left + this.scroller.scrollLeft}px`;
    field.style.top = `${r.top - s.top + this.scroller.scrollTop}px`;
    field.style.width = `${Math.max(r.width, 140)}px`;
    let done = false;
    const finish = (keep) => {
      if (done) return;
      done = true;
      field.remove();
      this.focusCanvas();
      if (keep && field.value !== text.input)
        this.gesture({ gesture: 'editText', compartment: text.compartment, text: field.value });
    };
    field.addEventListener('keydown', (event) => {
      event.stopPropagation();
      if (event.key === 'Escape') finish(false);
      if (event.key === 'Enter' && (!text.multiLine || event.ctrlKey)) {
        event.preventDefault();
        finish(true);
      }
    });
    field.addEventListener('blur', () => finish(true));
    this.scroller.append(field);
    field.focus();
    field.select();
  }

  // Resolves when every gesture sent has been answered and shown.
  async idle() {
    while (this.busy > 0 || this.pending.size > 0) await new Promise((r) => setTimeout(r, 10));
  }
}

const editor = new Editor();
window.grEditor = editor;
editor.reload().catch((error) => showInfo(byId('infobar'), `The editor could not start: ${error.message}`));
