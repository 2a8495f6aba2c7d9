// The editor in a headless Chromium on a new project: every step is made with
// the mouse and the keyboard as a person makes it, and after each the page
// and `grtool dump --json` of the project agree. A second page watches the
// same project and shows every gesture too.

import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { after, before, test } from 'node:test';
import {
  dismissMessages, dump, idle, launchBrowser, modelled, newProject, openEditor, render, root, serve,
  shown, stopFolder, tempFolder,
} from './harness.mjs';

const screenshots = path.join(root, 'out', 'web');
let folder, project, server, browser, page, watcher, problems;

before(async () => {
  folder = tempFolder('editor');
  project = newProject(folder);
  server = await serve(project);
  browser = await launchBrowser();
  ({ page, problems } = await openEditor(browser.context, server.url));
  fs.mkdirSync(screenshots, { recursive: true });
});

after(async () => {
  await browser?.close();
  const code = await server?.stop();
  stopFolder(folder);
  assert.equal(code, 0, 'grtool serve ends cleanly on SIGTERM');
});

// The page shows what the model holds.
async function agree(on = page) {
  await idle(on);
  const seen = await shown(on);
  const model = modelled(dump(project));
  for (const [i, element] of seen.elements.entries())
    if (element.box === null && model.elements[i]) model.elements[i].box = null;
  assert.deepEqual(seen, model);
  return seen;
}

// What a drawing opened (its type's properties dialog) is closed with its
// "Close" button, as a person closes it.
async function closeDialogs() {
  while (await page.$('.form button:text-is("Close")')) {
    await page.click('.form button:text-is("Close")');
    await idle(page);
    await dismissMessages(page);
  }
}

async function clickPalette(caption) {
  await page.click(`#palette button:text-is("${caption}")`);
}

async function centreOf(id, on = page) {
  const box = await on.locator(`#e${id} > .shape`).boundingBox();
  return { x: box.x + box.width / 2, y: box.y + box.height / 2, box };
}

async function dragFrom(from, to) {
  await page.mouse.move(from.x, from.y);
  await page.mouse.down();
  await page.mouse.move(to.x, to.y, { steps: 6 });
  await page.mouse.up();
  await idle(page);
}

test('the page opens on the project diagram', async () => {
  const seen = await agree();
  assert.equal(seen.title, 'Demo');
});

test('the canvas menu opens the seed diagram', async () => {
  await page.mouse.click(700, 400, { button: 'right' });
  await page.waitForSelector('#menu button');
  const items = await page.$$eval('#menu button', (buttons) => buttons.map((b) => b.textContent));
  assert.deepEqual(items, ['Specification Diagram']);
  await page.click('#menu button:text-is("Specification Diagram")');
  const seen = await agree();
  assert.equal(seen.title, 'Specification Diagram');
});

let seed;
test('a seed drawn from the palette is named by typing in place', async () => {
  await clickPalette('Seed');
  await page.mouse.click(420, 160);
  await idle(page);
  await dismissMessages(page);
  await closeDialogs();
  await page.waitForSelector('.in-place');
  await page.keyboard.type('Firma');
  await page.keyboard.press('Enter');
  const seen = await agree();
  [seed] = seen.elements.filter((e) => e.kind === 'node');
  assert.deepEqual(seed.texts, ['NewDiagram', 'Firma'], 'its type and its name');
  assert.ok(seen.diagrams.some(([, caption]) => caption === 'Firma'), 'its type diagram is named too');
  await page.screenshot({ path: path.join(screenshots, '1-seed-diagram.png') });
});

test('a double click on the seed opens its type diagram', async () => {
  const { box } = await centreOf(seed.id);
  await page.mouse.dblclick(box.x + 8, box.y + box.height - 6);
  await idle(page);
  await dismissMessages(page);
  const seen = await agree();
  assert.equal(seen.title, 'Firma');
  assert.deepEqual(seen.elements, []);
});

let boxA, boxB;
test('two boxes and a line drawn from the palette', async () => {
  ({ page: watcher } = await openEditor(browser.context, server.url));
  await page.bringToFront();
  for (const [x, y] of [[330, 140], [640, 330]]) {
    await clickPalette('Box');
    await page.mouse.click(x, y);
    await idle(page);
    await dismissMessages(page);
    await closeDialogs();
  }
  let seen = await agree();
  [boxA, boxB] = seen.elements;
  assert.equal(seen.elements.length, 2);
  await clickPalette('Line');
  await dragFrom(await centreOf(boxA.id), await centreOf(boxB.id));
  await dismissMessages(page);
  await closeDialogs();
  seen = await agree();
  const [edge] = seen.elements.filter((e) => e.kind === 'edge');
  assert.ok(edge, 'a line was drawn');
  const model = dump(project);
  assert.equal(model.get(edge.id).links.start[0], boxA.id);
  assert.equal(model.get(edge.id).links.end[0], boxB.id);
  // The other page shows every gesture of this one.
  await watcher.waitForFunction((id) => document.getElementById(`e${id}`), edge.id);
  await agree(watcher);
  await page.screenshot({ path: path.join(screenshots, '2-type-diagram.png') });
});

test('click, shift-click and a rubber band select; a drag moves a box', async () => {
  const a = await centreOf(boxA.id);
  const b = await centreOf(boxB.id);
  await page.mouse.click(a.x, a.y);
  assert.deepEqual((await agree()).selection, [boxA.id]);
  await page.keyboard.down('Shift');
  await page.mouse.click(b.x, b.y);
  await page.keyboard.up('Shift');
  assert.deepEqual((await agree()).selection, [boxA.id, boxB.id]);
  await page.mouse.click(1100, 700);
  assert.deepEqual((await agree()).selection, []);
  await dragFrom({ x: a.box.x - 20, y: a.box.y - 20 }, { x: a.box.x + a.box.width + 10, y: a.box.y + a.box.height + 10 });
  assert.deepEqual((await agree()).selection, [boxA.id]);
  await dragFrom(b, { x: b.x + 60, y: b.y + 40 });
  const moved = (await agree()).elements.find((e) => e.id === boxB.id);
  assert.deepEqual(moved.box.slice(0, 2), [boxB.box[0] + 60, boxB.box[1] + 40]);
  await agree(watcher);
});

test('a line end dragged onto another box reconnects; a box dropped on another is refused as the engine says', async () => {
  await clickPalette('Box');
  await page.mouse.click(330, 470);
  await idle(page);
  await dismissMessages(page);
  await closeDialogs();
  const seen = await agree();
  const boxC = seen.elements.find((e) => e.kind === 'node' && e.id !== boxA.id && e.id !== boxB.id);
  const edge = seen.elements.find((e) => e.kind === 'edge');
  const onLine = await page.evaluate((id) => {
    const line = document.querySelector(`#e${id} > polyline`);
    const [[x1, y1], [x2, y2]] = line.getAttribute('points').split(' ').map((p) => p.split(',').map(Number));
    const point = new DOMPoint((x1 + x2) / 2, (y1 + y2) / 2).matrixTransform(line.getScreenCTM());
    return { x: point.x, y: point.y + 2 };
  }, edge.id);
  await page.mouse.click(onLine.x, onLine.y);
  assert.deepEqual((await agree()).selection, [edge.id]);
  const handle = await page.locator('.handle[data-end="end"]').boundingBox();
  await dragFrom({ x: handle.x + handle.width / 2, y: handle.y + handle.height / 2 }, await centreOf(boxC.id));
  await dismissMessages(page);
  await agree();
  assert.equal(dump(project).get(edge.id).links.end[0], boxC.id, 'the line ends at the third box');
  // The type diagram's boxes hold no boxes: the engine refuses, the box stays.
  await dragFrom(await centreOf(boxC.id), await centreOf(boxA.id));
  await dismissMessages(page);
  const after = await agree();
  assert.match(await page.textContent('#infobar'), /can't be inserted/);
  assert.deepEqual(after.elements.find((e) => e.id === boxC.id), seen.elements.find((e) => e.id === boxC.id));
  boxB = boxC;
});

test('the console opens with its key, evaluates and closes', async () => {
  await page.mouse.click((await centreOf(boxA.id)).x, (await centreOf(boxA.id)).y);
  await page.keyboard.press('`');
  await page.waitForSelector('.form');
  let seen = await agree();
  assert.deepEqual(seen.forms.map(([, caption]) => caption), ['Console']);
  assert.ok(await page.$('.form-layer.modal'), 'the console is modal');
  await page.screenshot({ path: path.join(screenshots, '3-console.png') });
  await page.fill('.form [data-id="input"]', 'elemType/@id');
  await page.click('.form button:text-is("Evaluate")');
  await idle(page);
  const messages = await dismissMessages(page);
  assert.match(messages.join('\n'), /attributeValue : String = box/);
  await page.click('.form button:text-is("Exit")');
  seen = await agree();
  assert.deepEqual(seen.forms, []);
});

test('a key shortcut deletes; copy and paste with the clipboard keys', async () => {
  const b = await centreOf(boxB.id);
  await page.mouse.click(b.x, b.y);
  await page.keyboard.press('Delete');
  await idle(page);
  await dismissMessages(page);
  let seen = await agree();
  assert.ok(!seen.elements.some((e) => e.id === boxB.id || e.kind === 'edge'), 'the box went with its line');
  const a = await centreOf(boxA.id);
  await page.mouse.click(a.x, a.y);
  await page.keyboard.press('Control+C');
  await idle(page);
  await dismissMessages(page);
  await page.mouse.click(900, 600);
  await page.mouse.click(900, 600, { button: 'right' });
  await page.waitForSelector('#menu button');
  await page.click('#menu button:text-is("Paste")');
  await idle(page);
  await dismissMessages(page);
  seen = await agree();
  assert.equal(seen.elements.filter((e) => e.kind === 'node').length, 3, 'a copy was pasted');
  await agree(watcher);
});

test('Ctrl Z and Ctrl Y take a drag back and make it again, and so do the tool bar buttons', async () => {
  const model = () => JSON.stringify([...dump(project).values()]);
  const a = await centreOf(boxA.id);
  await page.mouse.click(a.x, a.y);
  await agree();
  const before = model();
  await dragFrom(a, { x: a.x + 80, y: a.y + 50 });
  await agree();
  const moved = model();
  assert.notEqual(moved, before);
  await page.keyboard.press('Control+Z');
  await agree();
  assert.match(await page.textContent('#infobar'), /^Undone: drag/);
  assert.equal(model(), before, 'the box is where it was');
  await page.click('#redo');
  await agree();
  assert.match(await page.textContent('#infobar'), /^Redone: drag/);
  assert.equal(model(), moved);
  await page.click('#undo');
  await agree();
  assert.equal(model(), before);
  await page.keyboard.press('Control+Y');
  await agree();
  assert.equal(model(), moved);
  await page.keyboard.press('Control+Shift+Z');
  await agree();
  assert.match(await page.textContent('#infobar'), /^Nothing to redo/);
  await agree(watcher);
});

test('the exported SVG is the one grtool render draws, and the browser makes a PNG of it', async () => {
  const exported = await page.evaluate(async () => (await fetch('/api/export.svg')).text());
  assert.equal(exported, render(project));
  const png = await page.evaluate(async () => {
    const { diagramPng } = await import('/js/exporter.js');
    const blob = await diagramPng();
    return [...new Uint8Array(await blob.slice(0, 8).arrayBuffer())];
  });
  assert.deepEqual(png, [0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a]);
});

test('the page met no script error', () => {
  assert.deepEqual(problems, []);
});
