// Mouse gestures on the drawing. With a palette entry armed: click to draw a
// box (inside the box under the pointer) or a pin (on it), drag from one
// element to another for a line, drag a rectangle for a free box, click
// points and double-click for a free line. Without: click, shift-click and a
// rubber band select; dragging moves boxes, drops them into other boxes and
// reconnects line ends; double click; right click for the pop-up menu.
// Whether a drop re-parents or reconnects is for the engine to decide: the
// page sends the gesture and shows what came back.

import { elementId, setAttributes } from './canvas.js';

const DRAG_THRESHOLD = 4;
const DEFAULT_FREE_BOX = { w: 120, h: 60 };

export class Pointer {
  constructor(editor, scroller) {
    this.editor = editor;
    this.canvas = editor.canvas;
    this.drag = null;
    this.freeLine = null;
    scroller.addEventListener('mousedown', (e) => this.down(e));
    window.addEventListener('mousemove', (e) => this.move(e));
    window.addEventListener('mouseup', (e) => this.up(e));
    scroller.addEventListener('dblclick', (e) => this.doubleClick(e));
    scroller.addEventListener('contextmenu', (e) => this.rightClick(e));
  }

  get ready() {
    return this.canvas.svg && !this.editor.blocked;
  }

  down(e) {
    if (e.button !== 0 || !this.ready || !this.canvas.svg.contains(e.target)) return;
    e.preventDefault();
    this.editor.focusCanvas();
    const at = this.canvas.point(e);
    const armed = this.editor.armed;
    // Boxes are drawn where the pointer is; lines are hard to hit exactly.
    const group = this.canvas.elementAt(e, null, !armed || armed.class === 'PaletteLine');
    if (armed) {
      this.startDrawing(armed, e, at, group);
      return;
    }
    const handle = e.target.closest('.handle');
    if (handle) {
      const edge = this.canvas.group(Number(handle.dataset.edge));
      const points = this.canvas.linePoints(edge);
      const fixed = handle.dataset.end === 'start' ? points[points.length - 1] : points[0];
      this.drag = {
        kind: 'end', edge, end: handle.dataset.end, started: e.timeStamp,
        mark: this.canvas.addMark('line', { class: 'rubber', x1: fixed[0], y1: fixed[1], x2: at.x, y2: at.y }),
      };
    } else if (group) {
      this.drag = { kind: 'move', group, from: at, moved: false, shift: e.shiftKey, started: e.timeStamp };
    } else {
      this.drag = { kind: 'band', from: at, moved: false, shift: e.shiftKey, started: e.timeStamp };
    }
  }

  startDrawing(armed, e, at, group) {
    const started = e.timeStamp;
    switch (armed.class) {
      case 'PaletteLine':
        if (!group) return;
        this.drag = {
          kind: 'line', from: group, started,
          mark: this.canvas.addMark('line', { class: 'rubber', x1: at.x, y1: at.y, x2: at.x, y2: at.y }),
        };
        return;
      case 'PaletteFreeBox':
        this.drag = { kind: 'freebox', from: at, started, mark: this.canvas.addMark('rect', { class: 'band', x: at.x, y: at.y, width: 0, height: 0 }) };
        return;
      case 'PaletteFreeLine':
        this.addFreeLinePoint(at);
        return;
      case 'PalettePin':
        this.drag = { kind: 'pin', node: group?.closest('g.node') ?? null, started };
        return;
      default:
        this.drag = { kind: 'box', parent: group?.closest('g.node') ?? null, at, started };
    }
  }

  move(e) {
    const drag = this.drag;
    if (this.freeLine && this.canvas.svg) {
      const at = this.canvas.point(e);
      setAttributes(this.freeLine.mark, { points: [...this.freeLine.points, [at.x, at.y]].map((p) => p.join(',')).join(' ') });
    }
    if (!drag || !this.canvas.svg) return;
    const at = this.canvas.point(e);
    if (drag.from && !drag.moved && Math.abs(at.x - drag.from.x) + Math.abs(at.y - drag.from.y) >= DRAG_THRESHOLD)
      drag.moved = true;
    switch (drag.kind) {
      case 'line':
      case 'end':
        setAttributes(drag.mark, { x2: at.x, y2: at.y });
        this.markTarget(e, drag.kind === 'end' ? drag.edge : null);
        break;
      case 'freebox':
      case 'band':
        if (!drag.moved) break;
        drag.mark ??= this.canvas.addMark('rect', { class: 'band' });
        setAttributes(drag.mark, rectBetween(drag.from, at));
        break;
      case 'move':
        if (drag.moved) this.showGhost(drag, at, e);
        break;
      default:
    }
  }

  markTarget(e, skip) {
    this.targetMark?.remove();
    this.targetMark = null;
    const target = this.canvas.elementAt(e, skip);
    if (!target) return;
    const b = target.getBBox();
    this.targetMark = this.canvas.addMark('rect', { class: 'target', x: b.x - 2, y: b.y - 2, width: b.width + 4, height: b.height + 4 });
  }

  showGhost(drag, at, e) {
    const shape = outline(drag.group);
    drag.box ??= shape;
    const dx = at.x - drag.from.x;
    const dy = at.y - drag.from.y;
    drag.mark ??= this.canvas.addMark('rect', { class: 'ghost' });
    setAttributes(drag.mark, { x: shape.x + dx, y: shape.y + dy, width: shape.width, height: shape.height });
    if (drag.group.classList.contains('node')) this.markTarget(e, drag.group);
  }

  clearMarks() {
    this.drag?.mark?.remove();
    this.targetMark?.remove();
    this.targetMark = null;
  }

  async up(e) {
    const drag = this.drag;
    if (!drag || e.button !== 0) return;
    this.clearMarks();
    this.drag = null;
    if (!this.canvas.svg) return;
    const at = this.canvas.point(e);
    const timing = { started: drag.started };
    const editor = this.editor;
    switch (drag.kind) {
      case 'box': {
        const parent = drag.parent ? elementId(drag.parent) : null;
        const outcome = await editor.gesture({ gesture: 'drawBox', palette: editor.armed.id, parent, at: [drag.at.x, drag.at.y] }, timing);
        editor.disarm();
        editor.editNewElement(outcome);
        return;
      }
      case 'pin':
        if (!drag.node) {
          editor.note('A pin goes on a box: click on one.');
          return;
        }
        await editor.gesture({ gesture: 'drawPin', palette: editor.armed.id, node: elementId(drag.node) }, timing);
        editor.disarm();
        return;
      case 'line': {
        const target = this.canvas.elementAt(e);
        if (!target) return;
        await editor.gesture({ gesture: 'drawLine', palette: editor.armed.id, start: elementId(drag.from), end: elementId(target) }, timing);
        editor.disarm();
        return;
      }
      case 'freebox': {
        const r = drag.moved ? rectBetween(drag.from, at) : { x: at.x, y: at.y, width: DEFAULT_FREE_BOX.w, height: DEFAULT_FREE_BOX.h };
        await editor.gesture({ gesture: 'drawFreeBox', palette: editor.armed.id, box: [r.x, r.y, Math.max(r.width, 10), Math.max(r.height, 10)] }, timing);
        editor.disarm();
        return;
      }
      case 'end': {
        const target = this.canvas.elementAt(e, drag.edge);
        if (target) await editor.gesture({ gesture: 'moveLineEnd', edge: elementId(drag.edge), end: drag.end, target: elementId(target) }, timing);
        return;
      }
      case 'band':
        this.finishBand(drag, at, timing);
        return;
      case 'move':
        if (drag.moved) await this.finishMove(drag, at, e, timing);
        else this.click(drag, timing);
        return;
      default:
    }
  }

  click(drag, timing) {
    const id = elementId(drag.group);
    const selection = this.editor.selection;
    let wanted;
    if (drag.shift) wanted = selection.includes(id) ? selection.filter((s) => s !== id) : [...selection, id];
    else wanted = [id];
    if (!sameList(wanted, selection)) this.editor.gesture({ gesture: 'select', elements: wanted }, timing);
  }

  finishBand(drag, at, timing) {
    const selection = this.editor.selection;
    if (!drag.moved) {
      if (!drag.shift && selection.length) this.editor.gesture({ gesture: 'select', elements: [] }, timing);
      return;
    }
    const band = rectBetween(drag.from, at);
    const inside = this.canvas.allElements().filter((group) => contains(band, group.getBBox())).map(elementId);
    const wanted = drag.shift ? [...selection, ...inside.filter((id) => !selection.includes(id))] : inside;
    if (!sameList(wanted, selection)) this.editor.gesture({ gesture: 'select', elements: wanted }, timing);
  }

  async finishMove(drag, at, e, timing) {
    const group = drag.group;
    const id = elementId(group);
    const dx = at.x - drag.from.x;
    const dy = at.y - drag.from.y;
    const shape = drag.box ?? outline(group);
    const box = [Math.round(shape.x + dx), Math.round(shape.y + dy), Math.round(shape.width), Math.round(shape.height)];
    const editor = this.editor;
    if (group.classList.contains('free-box')) {
      await editor.gesture({ gesture: 'editFreeBox', element: id, box }, timing);
    } else if (group.classList.contains('free-line')) {
      const points = this.canvas.linePoints(group).map(([x, y]) => [x + dx, y + dy]);
      await editor.gesture({ gesture: 'editFreeLine', element: id, points }, timing);
    } else if (group.classList.contains('node')) {
      const target = this.canvas.elementAt(e, group)?.closest('g.node') ?? null;
      const parent = this.canvas.parentNodeOf(group);
      if (target !== parent) {
        // Where the engine refuses the new container the box stays where it was.
        await editor.gesture({ gesture: 'changeParent', node: id, parent: target ? elementId(target) : null }, timing);
        const moved = this.canvas.group(id);
        const holder = moved && this.canvas.parentNodeOf(moved);
        if (!moved || (holder ? elementId(holder) : null) !== (target ? elementId(target) : null)) return;
      }
      await editor.gesture({ gesture: 'moveElement', element: id, box }, timing);
    } else if (group.classList.contains('port')) {
      await editor.gesture({ gesture: 'moveElement', element: id, box }, timing);
    }
  }

  addFreeLinePoint(at) {
    if (!this.freeLine) {
      this.freeLine = { points: [], mark: this.canvas.addMark('polyline', { class: 'rubber' }) };
    }
    const last = this.freeLine.points[this.freeLine.points.length - 1];
    if (!last || last[0] !== at.x || last[1] !== at.y) this.freeLine.points.push([at.x, at.y]);
  }

  async finishFreeLine() {
    const line = this.freeLine;
    this.freeLine = null;
    line.mark.remove();
    if (line.points.length < 2) return;
    await this.editor.gesture({ gesture: 'drawFreeLine', palette: this.editor.armed.id, points: line.points });
    this.editor.disarm();
  }

  cancel() {
    this.clearMarks();
    this.drag = null;
    if (this.freeLine) {
      this.freeLine.mark.remove();
      this.freeLine = null;
    }
  }

  async doubleClick(e) {
    if (!this.ready) return;
    if (this.freeLine) {
      await this.finishFreeLine();
      return;
    }
    if (this.editor.armed) return;
    const group = this.canvas.elementAt(e);
    if (!group) return;
    const text = e.target.closest('text.compartment');
    if (text && (await this.editor.editTextInPlace(elementId(group), Number(text.dataset.compartment))))
      return;
    this.editor.gesture({ gesture: 'doubleClick', element: elementId(group) }, { started: e.timeStamp });
  }

  rightClick(e) {
    e.preventDefault();
    if (!this.ready || !this.canvas.svg.contains(e.target)) return;
    this.cancel();
    this.editor.disarm();
    const group = this.canvas.elementAt(e);
    this.editor.rightClick(group ? elementId(group) : null, { x: e.clientX, y: e.clientY });
  }
}

// The box's outline (its shape), not the texts that may stick out of it.
function outline(group) {
  const shape = group.querySelector(':scope > .shape');
  return (shape ?? group).getBBox();
}

function rectBetween(a, b) {
  return { x: Math.min(a.x, b.x), y: Math.min(a.y, b.y), width: Math.abs(a.x - b.x), height: Math.abs(a.y - b.y) };
}

function contains(outer, inner) {
  return inner.x >= outer.x && inner.y >= outer.y &&
    inner.x + inner.width <= outer.x + outer.width && inner.y + inner.height <= outer.y + outer.height;
}

function sameList(a, b) {
  return a.length === b.length && a.every((x, i) => x === b[i]);
}
