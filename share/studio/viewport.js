// The right column: the latest viewport picture of a layer, the plain layer over it for a
// before/after look, the progress of renders, the frame slider and the full render.
import { el } from './controls.js';

const $ = (id) => document.getElementById(id);

export class Viewport {
  // hooks: frame(n) moves the scene to a frame, render() starts the full render.
  constructor(hooks) {
    this.layer = 'painted';
    this.number = 0; // the server numbers its viewport pictures; the number keeps them out of the cache
    this.img = $('viewport');
    this.before = $('before');
    // data-frame and data-quick tell which picture shows, once it has loaded.
    this.img.addEventListener('load', () => {
      this.img.classList.remove('empty');
      $('no-picture').hidden = true;
      Object.assign(this.img.dataset, this.pending ?? {});
    });
    this.img.addEventListener('error', () => {
      this.img.classList.add('empty');
      $('no-picture').hidden = false;
    });

    $('split').addEventListener('change', () => this.showSplit());
    const divider = $('divider');
    divider.addEventListener('pointerdown', (e) => {
      e.preventDefault();
      divider.setPointerCapture(e.pointerId);
      const move = (m) => {
        const r = $('stage').getBoundingClientRect();
        const f = Math.min(1, Math.max(0, (m.clientX - r.left) / r.width));
        $('stage').style.setProperty('--split', `${f * 100}%`);
      };
      const up = () => divider.removeEventListener('pointermove', move);
      divider.addEventListener('pointermove', move);
      divider.addEventListener('pointerup', up, { once: true });
    });

    const slider = $('frame');
    slider.addEventListener('input', () => ($('frame-number').value = slider.value));
    slider.addEventListener('change', () => hooks.frame(Number(slider.value)));
    $('render').addEventListener('click', () => {
      $('render').disabled = true;
      hooks.render();
    });
  }

  setup(tree) {
    const layers = tree.layers?.length ? tree.layers : ['painted'];
    $('layers').replaceChildren(
      ...layers.map((name) =>
        el('button', { type: 'button', textContent: name, data: { layer: name }, onclick: () => this.pick(name) })
      )
    );
    const { start, end, current } = tree.frames ?? { start: 0, end: 0, current: 0 };
    $('frames').hidden = !(end > start);
    $('range-row').hidden = !(end > start);
    Object.assign($('frame'), { min: start, max: end, value: current });
    $('frame-number').value = current;
    this.pick(layers.includes(this.layer) ? this.layer : layers[0]);
  }

  pick(layer) {
    this.layer = layer;
    for (const b of $('layers').children) b.setAttribute('aria-pressed', String(b.dataset.layer === layer));
    this.load();
  }

  url(layer) {
    return `/api/viewport.png?layer=${encodeURIComponent(layer)}&v=${this.number}`;
  }

  load() {
    this.img.src = this.url(this.layer);
    if (!this.before.hidden) this.before.src = this.url('plain');
  }

  showSplit() {
    const on = $('split').checked;
    this.before.hidden = !on;
    $('divider').hidden = !on;
    if (on) this.before.src = this.url('plain');
  }

  // A new viewport picture is ready on the server.
  onFrame(data) {
    this.number = data.frame;
    this.pending = { frame: String(data.frame), quick: String(!!data.quick) };
    this.load();
  }

  onProgress(data) {
    const busy = data.total > 0 && data.done < data.total;
    $('progress-row').hidden = !busy;
    Object.assign($('progress'), { max: Math.max(1, data.total), value: data.done });
    $('progress-title').textContent = busy ? `${data.title} ${data.done}/${data.total}` : '';
  }

  // The render ended, well or not; the caller tells the user.
  onRender() {
    $('render').disabled = false;
    $('progress-row').hidden = true;
  }

  setFrame(frame) {
    $('frame').value = frame;
    $('frame-number').value = frame;
  }
}
