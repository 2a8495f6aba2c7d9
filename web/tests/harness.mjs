// What the browser tests share: grtool (GRTOOL, else the build's), a project
// in a fresh temporary folder, `grtool serve` on a free loopback port, a
// headless Chromium, and `grtool dump --json` of the served project (read
// from a copy, since the server holds the store open).

import { execFileSync, spawn } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { chromium } from 'playwright-core';

const here = path.dirname(fileURLToPath(import.meta.url));
export const root = path.resolve(here, '../..');
export const grtool = process.env.GRTOOL ?? path.join(root, 'build/bin/grtool');

export function tempFolder(name) {
  return fs.mkdtempSync(path.join(os.tmpdir(), `grtool-web-${name}-`));
}

export function newProject(folder, name = 'Demo') {
  const project = path.join(folder, 'project');
  execFileSync(grtool, ['new', project, '--name', name], { stdio: 'pipe' });
  return project;
}

export function play(project, script) {
  execFileSync(grtool, ['play', project, script], { stdio: 'pipe', maxBuffer: 1 << 28 });
}

// Serves the project on a port the system picks; resolves when it listens.
export function serve(project) {
  const child = spawn(grtool, ['serve', project, '--port', '0'], { stdio: ['ignore', 'pipe', 'pipe'] });
  let errors = '';
  child.stderr.on('data', (chunk) => { errors += chunk; });
  return new Promise((resolve, reject) => {
    let output = '';
    const timer = setTimeout(() => reject(new Error(`grtool serve did not start: ${errors}`)), 20000);
    child.stdout.on('data', (chunk) => {
      output += chunk;
      const found = output.match(/ at (http:\/\/127\.0\.0\.1:\d+\/)/);
      if (!found) return;
      clearTimeout(timer);
      resolve({
        url: found[1],
        async stop() {
          if (child.exitCode !== null) return child.exitCode;
          const exited = new Promise((done) => child.once('exit', (code) => done(code)));
          child.kill('SIGTERM');
          return exited;
        },
      });
    });
    child.once('exit', (code) => reject(new Error(`grtool serve ended (${code}): ${errors}`)));
  });
}

export async function launchBrowser() {
  const profile = tempFolder('chromium');
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
    viewport: { width: 1200, height: 760 },
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
  return {
    context,
    async close() {
      await context.close();
      fs.rmSync(profile, { recursive: true, force: true });
    },
  };
}

function copyOf(project) {
  const copy = `${project}-copy-${process.pid}`;
  fs.rmSync(copy, { recursive: true, force: true });
  fs.cpSync(project, copy, { recursive: true });
  return copy;
}

// The model as `grtool dump --json` prints it, indexed by id.
export function dump(project) {
  const copy = copyOf(project);
  try {
    const text = execFileSync(grtool, ['dump', copy, '--json'], { maxBuffer: 1 << 28 }).toString();
    const objects = new Map();
    for (const object of JSON.parse(text).objects) objects.set(object.id, object);
    return objects;
  } finally {
    fs.rmSync(copy, { recursive: true, force: true });
  }
}

// The SVG `grtool render` draws of the project's current diagram.
export function render(project) {
  const copy = copyOf(project);
  try {
    return execFileSync(grtool, ['render', copy], { maxBuffer: 1 << 28 }).toString();
  } finally {
    fs.rmSync(copy, { recursive: true, force: true });
  }
}

export function stopFolder(folder) {
  fs.rmSync(folder, { recursive: true, force: true });
}

// Waits until every gesture the page sent is answered and shown.
export async function idle(page) {
  await page.evaluate(() => window.grEditor.idle());
}

// Reads and closes the page's message boxes; their texts.
export async function dismissMessages(page) {
  const texts = [];
  while (await page.$('.message-box')) {
    texts.push(await page.textContent('.message-box pre'));
    await page.click('.message-box button');
  }
  return texts;
}

export async function openEditor(context, url) {
  const page = await context.newPage();
  const problems = [];
  page.on('pageerror', (error) => problems.push(error.message));
  await page.goto(url);
  await page.waitForFunction(() => window.grEditor && window.grEditor.seq !== undefined && document.querySelector('#drawing svg'));
  return { page, problems };
}

// What the page shows of the model: the current diagram, the diagram list,
// every drawn element with its kind, its holder, its outline and its texts,
// the selection and the open forms.
export async function shown(page) {
  return page.evaluate(() => {
    const editor = window.grEditor;
    const number = (text) => Number(text ?? 0);
    const elements = [...document.querySelectorAll('#drawing g.element')].map((group) => {
      const shape = group.querySelector(':scope > rect.shape');
      const box = shape ? ['x', 'y', 'width', 'height'].map((a) => Number(shape.getAttribute(a))) : null;
      return {
        id: number(group.dataset.element),
        kind: group.classList[1],
        holder: number(group.parentElement.closest('g.element')?.dataset.element),
        box,
        texts: [...group.querySelectorAll(':scope > text.compartment')].map((t) => t.textContent),
      };
    }).sort((a, b) => a.id - b.id);
    return {
      current: editor.diagram?.id ?? 0,
      title: document.getElementById('diagram-title').textContent,
      diagrams: [...document.querySelectorAll('#diagrams li')]
        .map((li) => [number(li.dataset.diagram), li.firstChild.textContent]),
      elements,
      selection: editor.selection,
      forms: [...document.querySelectorAll('.form')]
        .map((form) => [number(form.dataset.form), form.querySelector('.title .caption').textContent]),
    };
  });
}

const KINDS = { Node: 'node', Port: 'port', Edge: 'edge', FreeBox: 'free-box', FreeLine: 'free-line' };

// The same, as the dump of the model says it.
export function modelled(objects) {
  const first = (object, role) => object?.links?.[role]?.[0] ?? 0;
  const all = [...objects.values()];
  const pointer = all.find((o) => o.class === 'CurrentDgrPointer');
  const current = first(pointer, 'graphDiagram');
  const diagram = objects.get(current);
  const visible = (c) => c.attributes.isInvisible !== 'true';
  const textOf = (c) => c.attributes.input || c.attributes.value || '';
  const elements = (diagram?.links?.element ?? []).map((id) => {
    const element = objects.get(id);
    const kind = KINDS[element.class];
    const location = (element.attributes.location ?? '').split(' ').map(Number);
    const holder = kind === 'node' ? first(element, 'container') : kind === 'port' ? first(element, 'node') : 0;
    const texts = (element.links.compartment ?? []).map((c) => objects.get(c))
      .filter(visible).map(textOf).filter((t) => t !== '').flatMap((t) => t.split('\n'));
    const boxed = kind === 'node' || kind === 'port' || kind === 'free-box';
    return { id, kind, holder, box: boxed && location.length === 4 ? location : null, texts };
  }).sort((a, b) => a.id - b.id);
  return {
    current,
    title: diagram?.attributes?.caption ?? '',
    diagrams: all.filter((o) => o.class === 'GraphDiagram').map((o) => [o.id, o.attributes.caption ?? '']),
    elements,
    selection: objects.get(first(diagram, 'collection'))?.links?.element ?? [],
    forms: all.filter((o) => o.class === 'D#Form').map((o) => [o.id, o.attributes.caption ?? '']),
  };
}
