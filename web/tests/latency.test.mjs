// How long a click on the canvas takes to show on the page, on diagrams of
// 1,000 and 10,000 elements (half boxes, half lines between them) of a tool
// that a gesture script defines and then draws with: from the click's event
// to the frame after the outcome was applied, as the page measures it.
// Printed, not asserted: the figures depend on the machine.

import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { test } from 'node:test';
import {
  dismissMessages, dump, idle, launchBrowser, newProject, openEditor, play, serve, stopFolder,
  tempFolder,
} from './harness.mjs';

const COLUMNS = 70;
const CLICKS = 12;

// A diagram type with a box type (with a name) and a line type, defined by
// drawing them; then a diagram of it, made from the project diagram.
function bigDiagramScript(elements) {
  const lines = ['rightclick', 'choose "Specification Diagram"', 'box "Seed" at 40 40 as Seed',
    'press "Close"', 'doubleclick Seed', 'box "Box" at 20 20 as T', 'press "AddChild"',
    'type "caption" "Name"', 'check "isEssential"', 'press "Close"', 'line "Line" from T to T',
    'press "Close"', 'open "Big"', 'box "NewDiagram" at 40 40 as Use', 'close form',
    'doubleclick Use'];
  // Boxes in a grid, each but the first few joined to the one before.
  const boxes = elements / 2 + 1;
  let joined = elements - boxes;
  for (let i = 0; i < boxes; i += 1) {
    lines.push(`box "NewNode" at ${20 + (i % COLUMNS) * 160} ${20 + Math.floor(i / COLUMNS) * 100} size 110 45 as B${i}`);
    if (i > 0 && joined > 0) {
      lines.push(`line "NewEdge" from B${i - 1} to B${i}`);
      joined -= 1;
    }
  }
  return `${lines.join('\n')}\n`;
}

function median(values) {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.floor(sorted.length / 2)];
}

async function measure(elements) {
  const folder = tempFolder(`latency-${elements}`);
  const project = newProject(folder, 'Big');
  const script = path.join(folder, 'big.grs');
  fs.writeFileSync(script, bigDiagramScript(elements));
  play(project, script);
  const server = await serve(project);
  const browser = await launchBrowser();
  try {
    const { page, problems } = await openEditor(browser.context, server.url);
    // The project opens on its project diagram; the big one is opened from the list.
    const objects = dump(project);
    const big = [...objects.values()].filter((o) => o.class === 'GraphDiagram')
      .sort((a, b) => (b.links.element?.length ?? 0) - (a.links.element?.length ?? 0))[0].id;
    const loading = Date.now();
    await page.click(`#diagrams li[data-diagram="${big}"]`);
    await page.waitForFunction((id) => window.grEditor.diagram?.id === id, big);
    const loaded = Date.now() - loading;
    const drawn = await page.$$eval('#drawing g.element', (groups) => groups.length);
    assert.equal(drawn, elements);
    const ids = await page.$$eval('#drawing g.node', (groups) => groups.slice(0, 2).map((g) => g.dataset.element));
    const centres = [];
    for (const id of ids) {
      const box = await page.locator(`#e${id} > .shape`).boundingBox();
      centres.push({ x: box.x + box.width / 2, y: box.y + box.height / 2 });
    }
    // The first click after opening pays for the browser's first paint of
    // the whole drawing; it is reported on its own.
    await page.evaluate(() => { window.grEditor.timings = []; });
    await page.mouse.click(centres[1].x, centres[1].y);
    await idle(page);
    await page.waitForTimeout(50);
    const [first] = await page.evaluate(() => window.grEditor.timings.map((t) => t.ms));
    await page.evaluate(() => { window.grEditor.timings = []; });
    for (let i = 0; i < CLICKS; i += 1) {
      await page.mouse.click(centres[i % 2].x, centres[i % 2].y);
      await idle(page);
    }
    for (let i = 0; i < CLICKS / 2; i += 1) {
      await page.click('#palette button:text-is("NewNode")');
      await page.mouse.click(centres[0].x + 80, centres[0].y + 60 + i * 4);
      await idle(page);
      await dismissMessages(page);
    }
    await page.waitForTimeout(50);
    const timings = await page.evaluate(() => window.grEditor.timings);
    const of = (gesture) => timings.filter((t) => t.gesture === gesture).map((t) => t.ms);
    const select = of('select');
    const box = of('drawBox');
    assert.ok(select.length >= CLICKS - 1 && box.length === CLICKS / 2, JSON.stringify(timings));
    assert.deepEqual(problems, []);
    return { loaded, first, select, box };
  } finally {
    await browser.close();
    await server.stop();
    stopFolder(folder);
  }
}

for (const elements of [1000, 10000]) {
  test(`click to page at ${elements.toLocaleString('en')} elements`, async () => {
    const { loaded, first, select, box } = await measure(elements);
    const figures = (values) => `median ${median(values).toFixed(1)} ms, slowest ${Math.max(...values).toFixed(1)} ms`;
    const line = `latency at ${elements.toLocaleString('en')} elements: select by click ${figures(select)}; ` +
      `box by click ${figures(box)}; the first click after opening ${first.toFixed(1)} ms; ` +
      `opening the diagram ${loaded} ms`;
    console.log(line);
  });
}
