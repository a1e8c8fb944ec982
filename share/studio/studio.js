// The studio page: the scene's tree, the rollouts of the thing picked in it, the viewport, and
// the document's undo, redo and save. The server holds all state; the page shows its answers.
import { get, post, errorOf } from './api.js';
import { Rollouts, el } from './controls.js';
import { Viewport } from './viewport.js';

const $ = (id) => document.getElementById(id);

const app = { tree: null, thing: null, version: -1, frame: 0 };

// Changes go to the server one at a time, so answers cannot come back out of order.
let queue = Promise.resolve();
const enqueue = (job) => (queue = queue.then(job).catch((err) => say(String(err), true)));

function say(text, isError = false) {
  $('status').value = text;
  $('status').classList.toggle('error', isError);
}

// Picture addresses carry the state's version and the open thing, so a changed picture
// never comes from the browser's cache.
const stamp = () => `v=${app.version}&f=${app.frame}&of=${encodeURIComponent(`${app.thing?.kind}:${app.thing?.name}`)}`;

const rollouts = new Rollouts($('pages'), {
  send: (event, control) => enqueue(() => sendEvent(event, control)),
  stamp,
  pickNodes,
  pickMap,
});

const viewport = new Viewport({
  frame: (frame) => enqueue(async () => show(await post('/api/frame', { frame }))),
  render: () =>
    enqueue(async () => {
      const answer = await post('/api/render', { range: $('range').checked && !$('range-row').hidden });
      if (answer.ok === false) {
        viewport.onRender();
        say(errorOf(answer), true);
      } else say('Rendering…');
    }),
});

async function sendEvent(event, control) {
  rollouts.hush();
  say('');
  const answer = await post('/api/event', event);
  show(answer);
  if (answer.message) control.say(answer.message, answer.ok === false);
}

// Shows a state answer; answers without pages are plain errors.
function show(answer) {
  if (!answer.pages) {
    say(errorOf(answer) || answer.message || '', answer.ok === false);
    return;
  }
  app.version = answer.version;
  app.thing = answer.thing;
  app.frame = answer.frame ?? app.frame;
  showFlags(answer);
  rollouts.show(answer.pages);
  markPicked();
  $('hint').hidden = !!answer.thing;
  if (!answer.thing) rollouts.clear();
  const material = answer.thing?.kind === 'material';
  $('sample-box').hidden = !material;
  if (material) loadSample();
  if (answer.message) say(answer.message, answer.ok === false);
  viewport.setFrame(app.frame);
}

function showFlags({ canUndo, canRedo, dirty }) {
  $('undo').disabled = !canUndo;
  $('redo').disabled = !canRedo;
  $('dirty').hidden = !dirty;
}

// The server answers a sample request once the sample is painted, so one request at a time:
// edits made meanwhile are folded into the next one.
let sampleWanted = null;
function loadSample() {
  const img = $('sample');
  sampleWanted = `/api/sample.png?shape=${$('shape').value}&size=160&${stamp()}`;
  if (img.dataset.loading || img.getAttribute('src') === sampleWanted) return;
  img.dataset.loading = '1';
  img.src = sampleWanted;
}
for (const end of ['load', 'error'])
  $('sample').addEventListener(end, () => {
    delete $('sample').dataset.loading;
    if (sampleWanted !== $('sample').getAttribute('src')) loadSample();
  });

function drawTree(tree) {
  const groups = tree.groups.map((g) =>
    el(
      'section',
      { class: 'tree-group' },
      el('h2', { textContent: g.title }),
      el('ul', {}, ...g.items.map((item) => el('li', {}, treeItem(item), ...children(item))))
    )
  );
  $('tree').replaceChildren(...groups);
}

function treeItem(item) {
  const closed = item.open === false;
  return el('button', {
    type: 'button',
    class: 'item',
    textContent: item.label,
    disabled: closed,
    title: closed ? 'Not editable here' : '',
    data: { kind: item.kind, name: item.name },
    onclick: () => enqueue(() => open(item.kind, item.name)),
  });
}

const children = (item) =>
  item.children?.length ? [el('ul', {}, ...item.children.map((c) => el('li', { class: 'child', textContent: c.label })))] : [];

async function open(kind, name) {
  const answer = await post('/api/open', { kind, name });
  if (answer.pages) show(answer);
  else say(errorOf(answer), true);
}

function markPicked() {
  for (const b of $('tree').querySelectorAll('.item')) {
    const picked = b.dataset.kind === app.thing?.kind && b.dataset.name === app.thing?.name;
    b.classList.toggle('picked', picked);
    b.setAttribute('aria-current', String(picked));
  }
}

const objectNames = () =>
  (app.tree?.groups.find((g) => g.title === 'Objects')?.items ?? []).map((i) => i.label.split(': ')[0]);

// The picker dialog with the given choices; resolves to what `chosen` reads from the checked
// inputs when the user says OK, or null.
function showPicker(title, choices, chosen) {
  const dialog = $('picker');
  $('picker-title').textContent = title;
  $('picker-names').replaceChildren(...choices);
  dialog.returnValue = '';
  dialog.showModal();
  return new Promise((resolve) =>
    dialog.addEventListener(
      'close',
      () => resolve(dialog.returnValue === 'ok' ? chosen([...$('picker-names').querySelectorAll('input:checked')]) : null),
      { once: true }
    )
  );
}

// The node picker: the scene's objects with check boxes; resolves to the names or null.
function pickNodes(title) {
  return showPicker(
    title || 'Pick objects',
    objectNames().map((name) => el('label', {}, el('input', { type: 'checkbox', value: name }), ` ${name}`)),
    (boxes) => boxes.map((b) => b.value)
  );
}

const groupNames = (title) => (app.tree?.groups.find((g) => g.title === title)?.items ?? []).map((i) => i.name);

// The map browser: one of the scene's maps or materials, or none; resolves to the name ('' for
// none) or null when cancelled. The server takes only what fits the slot.
function pickMap(title) {
  const choice = (name, text) => el('label', {}, el('input', { type: 'radio', name: 'map', value: name }), ` ${text}`);
  return showPicker(
    title,
    [
      choice('', 'None'),
      ...groupNames('Maps').map((n) => choice(n, n)),
      ...groupNames('Materials').map((n) => choice(n, `${n} (material)`)),
    ],
    (picked) => (picked.length ? picked[0].value : null)
  );
}

const step = (path) => enqueue(async () => {
  say('');
  show(await post(path));
});
const undo = () => step('/api/undo');
const redo = () => step('/api/redo');
const save = () =>
  enqueue(async () => {
    const answer = await post('/api/save');
    say(answer.ok === false ? errorOf(answer) : answer.message || 'Saved', answer.ok === false);
    await refreshStatus();
  });

async function refreshStatus() {
  const status = await get('/api/status');
  if (status.ok === false) return say(errorOf(status), true);
  showFlags(status);
  if (status.rendering) $('render').disabled = true;
}

// Another tab, or a save, changed the state: show it again.
function onState({ version }) {
  enqueue(async () => {
    if (version === app.version) return;
    const answer = await get('/api/state');
    if (answer.pages) show(answer);
    else await refreshStatus();
  });
}

function listen() {
  const events = new EventSource('/api/events');
  const on = (name, fn) => events.addEventListener(name, (e) => fn(JSON.parse(e.data)));
  on('progress', (d) => viewport.onProgress(d));
  on('frame', (d) => (d.error ? say(`Viewport: ${d.error}`, true) : viewport.onFrame(d)));
  on('state', onState);
  on('render', (d) => {
    viewport.onRender();
    say(d.error ? `Render failed: ${d.error}` : `Rendered ${d.output}`, !!d.error);
  });
}

// While a field holds unsent text, Ctrl+Z is the field's own undo.
document.addEventListener('keydown', (e) => {
  if (!(e.ctrlKey || e.metaKey)) return;
  const key = e.key.toLowerCase();
  const typing = !!e.target.dataset?.editing;
  if (key === 's') {
    e.preventDefault();
    if (!typing) save();
  } else if ((key === 'z' || key === 'y') && !typing) {
    e.preventDefault();
    if (key === 'z' && !e.shiftKey) undo();
    else redo();
  }
});

$('undo').addEventListener('click', undo);
$('redo').addEventListener('click', redo);
$('save').addEventListener('click', save);
$('shape').addEventListener('change', loadSample);

async function start() {
  const tree = await get('/api/tree');
  if (tree.ok === false || !tree.groups) return say(errorOf(tree) || 'No scene', true);
  app.tree = tree;
  document.documentElement.lang = tree.language || 'en';
  const name = tree.document.split(/[\\/]/).pop();
  $('docname').textContent = name;
  $('docname').title = tree.document;
  document.title = `${name} — vermil studio`;
  drawTree(tree);
  viewport.setup(tree);
  listen();
  await refreshStatus();
}

start();
