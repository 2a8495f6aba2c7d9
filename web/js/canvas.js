// The drawn diagram: the SVG document the server renders, kept in the page
// and updated piece by piece from the fragments a gesture's outcome carries.
// Every element is a group with id "e" + its object id; nesting mirrors the
// model (a port inside its node, a node inside its container).

const SVG_NS = 'http://www.w3.org/2000/svg';
const CANVAS_MARGIN = 20;
// A line is a pixel wide: a click a few pixels off it still hits it.
const NEAR = [[0, 0], ...[1, 2, 3].flatMap((d) => [[0, -d], [0, d], [-d, 0], [d, 0]])];

export function elementId(group) {
  return Number(group.dataset.element);
}

export class Canvas {
  constructor(host, scroller) {
    this.host = host;
    this.scroller = scroller;
    this.svg = null;
    this.overlay = null;
    this.selection = [];
    this.placed = new Map();
  }

  load(svgText, selection) {
    this.selection = selection;
    this.placed.clear();
    this.host.innerHTML = svgText;
    this.svg = this.host.querySelector('svg');
    this.overlay = document.createElementNS(SVG_NS, 'g');
    this.overlay.setAttribute('class', 'ui-overlay');
    this.svg.appendChild(this.overlay);
    this.fitToView();
    this.showSelection(this.selection);
  }

  clear() {
    this.host.innerHTML = '';
    this.svg = null;
    this.overlay = null;
  }

  group(id) {
    const found = document.getElementById(`e${id}`);
    return found && this.svg && this.svg.contains(found) ? found : null;
  }

  // Replaces the removed, added and changed elements; false when a fragment
  // names a place this document lacks (the page should reload). A fragment
  // the same as the one last placed (an element whose selection changed,
  // say) leaves its group alone, so that the browser redraws nothing.
  apply(removed, fragments) {
    for (const id of removed) {
      this.group(id)?.remove();
      this.placed.delete(id);
    }
    fragments = fragments.filter((f) => this.placed.get(f.id) !== placing(f) || !this.group(f.id));
    if (fragments.length === 0) return true;
    const parsed = new DOMParser().parseFromString(
      `<svg xmlns="${SVG_NS}">${fragments.map((f) => f.svg).join('')}</svg>`, 'image/svg+xml');
    const nodes = [...parsed.documentElement.children];
    let complete = true;
    fragments.forEach((fragment, i) => {
      complete = this.place(fragment, document.importNode(nodes[i], true)) && complete;
      this.placed.set(fragment.id, placing(fragment));
    });
    this.growTo(fragments.map((f) => this.group(f.id)).filter(Boolean));
    return complete;
  }

  place(fragment, node) {
    const container = fragment.parent
      ? this.group(fragment.parent)
      : this.svg.querySelector(`:scope > g.${fragment.layer}`);
    if (!container) return false;
    const old = this.group(fragment.id);
    if (old && old.parentNode === container) {
      old.replaceWith(node);
      return true;
    }
    old?.remove();
    const before = fragment.before ? this.group(fragment.before) : null;
    if (before && before.parentNode === container) container.insertBefore(node, before);
    else container.appendChild(node);
    return true;
  }

  viewBox() {
    const [x, y, w, h] = this.svg.getAttribute('viewBox').split(/\s+/).map(Number);
    return { x, y, w, h };
  }

  setViewBox({ x, y, w, h }) {
    this.svg.setAttribute('viewBox', `${x} ${y} ${w} ${h}`);
    this.svg.setAttribute('width', w);
    this.svg.setAttribute('height', h);
    const background = this.svg.querySelector(':scope > rect.background');
    if (background) {
      background.setAttribute('x', x);
      background.setAttribute('y', y);
      background.setAttribute('width', w);
      background.setAttribute('height', h);
    }
  }

  // The canvas covers what is drawn and at least the visible area, so that
  // a click anywhere in the view lands on the diagram.
  fitToView() {
    const box = this.viewBox();
    box.w = Math.max(box.w, this.scroller.clientWidth);
    box.h = Math.max(box.h, this.scroller.clientHeight);
    this.setViewBox(box);
  }

  growTo(groups) {
    const box = this.viewBox();
    let right = box.x + box.w;
    let bottom = box.y + box.h;
    for (const group of groups) {
      const b = group.getBBox();
      right = Math.max(right, b.x + b.width + CANVAS_MARGIN);
      bottom = Math.max(bottom, b.y + b.height + CANVAS_MARGIN);
    }
    if (right > box.x + box.w || bottom > box.y + box.h)
      this.setViewBox({ x: box.x, y: box.y, w: right - box.x, h: bottom - box.y });
  }

  // Diagram coordinates of a pointer event.
  point(event) {
    const matrix = this.svg.getScreenCTM().inverse();
    const p = new DOMPoint(event.clientX, event.clientY).matrixTransform(matrix);
    return { x: Math.round(p.x), y: Math.round(p.y) };
  }

  // The innermost element under the pointer, skipping the groups in SKIP
  // and everything inside them.
  // NEAR: also a few pixels around the pointer, where nothing is under it.
  elementAt(event, skip = null, near = true) {
    for (const [dx, dy] of near ? NEAR : NEAR.slice(0, 1)) {
      const group = this.elementAtPoint(event.clientX + dx, event.clientY + dy, skip);
      if (group) return group;
    }
    return null;
  }

  elementAtPoint(x, y, skip) {
    for (const hit of document.elementsFromPoint(x, y)) {
      const group = hit.closest?.('g.element');
      if (!group || !this.svg.contains(group)) continue;
      if (skip && (group === skip || skip.contains(group))) continue;
      return group;
    }
    return null;
  }

  // The node group holding GROUP, or null at the top level.
  parentNodeOf(group) {
    return group.parentElement?.closest('g.node') ?? null;
  }

  allElements() {
    return this.svg ? [...this.svg.querySelectorAll('g.element')] : [];
  }

  bbox(group) {
    return group.getBBox();
  }

  // A line's points, from its drawn polyline.
  linePoints(group) {
    const line = group.querySelector(':scope > polyline.line');
    if (!line) return [];
    return line.getAttribute('points').trim().split(/\s+/).map((pair) => pair.split(',').map(Number));
  }

  // Marks the selected elements; a selected line gets handles at its ends.
  showSelection(ids) {
    this.selection = ids;
    if (!this.overlay) return;
    this.overlay.querySelectorAll('.selection-mark, .handle').forEach((mark) => mark.remove());
    for (const id of ids) {
      const group = this.group(id);
      if (!group) continue;
      const b = group.getBBox();
      this.overlay.appendChild(shape('rect', {
        class: 'selection-mark', x: b.x - 3, y: b.y - 3, width: b.width + 6, height: b.height + 6,
      }));
      if (group.classList.contains('edge')) {
        const points = this.linePoints(group);
        if (points.length < 2) continue;
        for (const [end, [x, y]] of [['start', points[0]], ['end', points[points.length - 1]]])
          this.overlay.appendChild(shape('circle', {
            class: 'handle', cx: x, cy: y, r: 5, 'data-edge': id, 'data-end': end,
          }));
      }
    }
    if (this.overlay.nextSibling) this.overlay.parentNode.appendChild(this.overlay);
  }

  refreshSelection() {
    this.showSelection(this.selection);
  }

  // A temporary shape over the drawing (a ghost, a rubber band ...).
  addMark(name, attributes) {
    const mark = shape(name, attributes);
    this.overlay.appendChild(mark);
    return mark;
  }
}

function placing(fragment) {
  return `${fragment.parent}|${fragment.layer}|${fragment.svg}`;
}

export function shape(name, attributes) {
  const node = document.createElementNS(SVG_NS, name);
  for (const [key, value] of Object.entries(attributes)) node.setAttribute(key, value);
  return node;
}

export function setAttributes(node, attributes) {
  for (const [key, value] of Object.entries(attributes)) node.setAttribute(key, value);
}
