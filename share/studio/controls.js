// The rollout pages of the open thing, each control placed where its dialog template puts it.
// Dialog units are narrower across than down, so each way has its own scale.
const SX = 2.6;
const SY = 2.0;
// A drop-down's place covers its open list; closed it takes one row.
const ROW = 12;

const fmt = (v, integer) => (integer ? String(Math.round(v)) : String(+Number(v).toFixed(3)));
const clamp = (v, [lo, hi]) => Math.min(hi, Math.max(lo, v));
const boxHeight = (c) => (c.kind === 'combo' ? Math.min(c.place[3], ROW) : c.place[3]);

export function el(tag, props = {}, ...children) {
  const e = document.createElement(tag);
  for (const [k, v] of Object.entries(props)) {
    if (k === 'data') Object.assign(e.dataset, v);
    else if (k === 'class') e.className = v;
    else if (k in e) e[k] = v;
    else e.setAttribute(k, v);
  }
  e.append(...children);
  return e;
}

function placeBox(e, [x, y, w, h]) {
  Object.assign(e.style, { left: `${x * SX}px`, top: `${y * SY}px`, width: `${w * SX}px`, height: `${h * SY}px` });
}

const toHex = (rgb) =>
  '#' + rgb.map((v) => Math.round(clamp(v, [0, 1]) * 255).toString(16).padStart(2, '0')).join('');
const fromHex = (hex) => [1, 3, 5].map((i) => (parseInt(hex.slice(i, i + 2), 16) / 255).toFixed(3)).join(',');

// A text field sends on Enter or when it loses focus after an edit; until then answers from the
// server do not overwrite what is being typed.
function textEntry(input, shown, commit) {
  input.addEventListener('input', () => (input.dataset.editing = '1'));
  input.addEventListener('keydown', (e) => {
    if (e.key === 'Enter') {
      e.preventDefault();
      delete input.dataset.editing;
      commit(input.value.trim());
    } else if (e.key === 'Escape') {
      delete input.dataset.editing;
      input.value = shown();
    }
  });
  input.addEventListener('blur', () => {
    if (!input.dataset.editing) return;
    delete input.dataset.editing;
    commit(input.value.trim());
  });
}
const setText = (input, text) => {
  if (!input.dataset.editing) input.value = text;
};

function fillItems(select, items) {
  if (select.dataset.items === items.join('\n')) return;
  select.dataset.items = items.join('\n');
  select.replaceChildren(...items.map((t) => el('option', { textContent: t })));
}

// Each builder returns the nodes to put in the control's box and how to show a new state.
const builders = {
  static(c) {
    const s = el('span', { class: 'text' });
    return { nodes: [s], update: (c) => (s.textContent = c.value) };
  },

  edit(c, h) {
    const input = el('input', { type: 'text', spellcheck: false, autocomplete: 'off' });
    textEntry(input, () => h.c.value, (t) => h.send('set', t));
    return {
      nodes: [input],
      update(c) {
        input.disabled = !c.enabled;
        setText(input, c.value);
      },
    };
  },

  spinner(c, h) {
    const input = el('input', { type: 'text', inputMode: 'decimal', spellcheck: false, autocomplete: 'off' });
    const grip = el('span', { class: 'grip', title: 'Drag up or down' });
    const shown = () => fmt(h.c.value, h.c.integer);
    const stepped = (v) => fmt(h.c.integer ? Math.round(clamp(v, h.c.range)) : clamp(v, h.c.range), h.c.integer);
    textEntry(input, shown, (t) => h.send('set', t));
    input.addEventListener('keydown', (e) => {
      if (e.key !== 'ArrowUp' && e.key !== 'ArrowDown') return;
      e.preventDefault();
      h.send('set', stepped(h.c.value + (e.key === 'ArrowUp' ? h.c.step : -h.c.step)));
    });
    // Dragging changes the value by a step a pixel; the server hears of it once, on release.
    const drag = (target) => {
      target.classList.add('draggable');
      target.addEventListener('pointerdown', (e) => {
        if (!h.c.enabled || e.button !== 0) return;
        e.preventDefault();
        target.setPointerCapture(e.pointerId);
        const y0 = e.clientY;
        const start = shown();
        const move = (m) => (input.value = stepped(h.c.value + (y0 - m.clientY) * h.c.step));
        const up = () => {
          target.removeEventListener('pointermove', move);
          target.removeEventListener('pointerup', up);
          target.removeEventListener('pointercancel', up);
          if (input.value !== start) h.send('set', input.value);
        };
        target.addEventListener('pointermove', move);
        target.addEventListener('pointerup', up);
        target.addEventListener('pointercancel', up);
      });
    };
    drag(grip);
    return {
      nodes: [input, grip],
      drag,
      update(c) {
        input.disabled = !c.enabled;
        setText(input, shown());
        input.title = `${fmt(c.range[0], c.integer)} to ${fmt(c.range[1], c.integer)}`;
        markAnimated(h.wrap, c.animated);
      },
    };
  },

  check(c, h) {
    const box = el('input', { type: c.kind === 'radio' ? 'radio' : 'checkbox' });
    const text = el('span');
    box.addEventListener('click', () => h.send('press', ''));
    return {
      nodes: [el('label', {}, box, text)],
      update(c) {
        box.checked = !!c.value;
        box.disabled = !c.enabled;
        text.textContent = c.label;
      },
    };
  },

  combo(c, h) {
    const select = el('select');
    if (c.kind === 'list') select.size = Math.max(2, Math.floor(c.place[3] / 8));
    select.addEventListener('change', () => h.send('select', select.selectedIndex));
    return {
      nodes: [select],
      update(c) {
        fillItems(select, c.items);
        select.selectedIndex = c.value;
        select.disabled = !c.enabled;
      },
    };
  },

  tabs(c, h) {
    const row = el('div', { class: 'tabrow', role: 'group' });
    return {
      nodes: [row],
      update(c) {
        row.replaceChildren(
          ...c.items.map((t, i) =>
            el('button', {
              type: 'button', textContent: t, disabled: !c.enabled, 'aria-pressed': String(i === c.value),
              onclick: () => h.send('select', i),
            })
          )
        );
      },
    };
  },

  button(c, h) {
    const b = el('button', { type: 'button', onclick: () => h.send('press', '') });
    return {
      nodes: [b],
      update(c) {
        b.textContent = c.value || c.label;
        b.disabled = !c.enabled;
      },
    };
  },

  colour(c, h) {
    const input = el('input', { type: 'color' });
    input.addEventListener('change', () => h.send('set', fromHex(input.value)));
    return {
      nodes: [input],
      update(c) {
        input.value = toHex(c.value);
        input.disabled = !c.enabled;
        markAnimated(h.wrap, c.animated);
      },
    };
  },

  map(c, h, ctx) {
    const b = el('button', { type: 'button', class: 'mapname' });
    b.addEventListener('click', async () => {
      const name = await ctx.pickMap(h.c.label || 'Pick a map');
      if (name !== null) h.send('pick', name);
    });
    return {
      nodes: [b],
      update(c) {
        b.textContent = c.value && c.value !== 'None' ? c.value : 'None';
        b.disabled = !c.enabled;
      },
    };
  },

  node(c, h, ctx) {
    const b = el('button', { type: 'button' });
    b.addEventListener('click', async () => {
      const names = await ctx.pickNodes(h.c.label || h.c.value);
      if (names) h.send('pick', names.join(','));
    });
    return {
      nodes: [b],
      update(c) {
        b.textContent = (typeof c.value === 'string' && c.value) || c.label || 'Pick…';
        b.disabled = !c.enabled;
      },
    };
  },

  group(c) {
    const title = el('span', { class: 'frame-title' });
    return { nodes: [title], update: (c) => (title.textContent = c.value) };
  },

  image(c, h, ctx) {
    const img = el('img', { alt: '', class: 'preview' });
    img.addEventListener('error', () => (img.hidden = true));
    return {
      nodes: [img],
      update(c) {
        img.hidden = !c.value;
        const src = `/api/preview/${h.template}/${c.id}.png?${ctx.stamp()}`;
        if (c.value && img.getAttribute('src') !== src) img.src = src;
      },
    };
  },
};
builders.radio = builders.check;
builders.list = builders.combo;

function markAnimated(wrap, animated) {
  wrap.classList.toggle('animated', !!animated);
  wrap.title = animated ? 'animated: edits set a key at the current frame' : '';
}

function buildControl(c, template, ctx) {
  const wrap = el('div', { class: `control ${c.kind}`, data: { template, id: c.id } });
  placeBox(wrap, [c.place[0], c.place[1], c.place[2], boxHeight(c)]);
  const message = el('span', { class: 'message', hidden: true });
  const h = { c, wrap, template };
  h.send = (kind, value) => ctx.send({ kind, dialog: template, id: c.id, value: String(value) }, h);
  const part = (builders[c.kind] ?? builders.static)(c, h, ctx);
  wrap.append(...part.nodes, message);
  h.drag = part.drag;
  h.update = (nc) => {
    h.c = nc;
    wrap.classList.toggle('disabled', !nc.enabled);
    part.update(nc);
  };
  h.say = (text, isError) => {
    message.textContent = text;
    message.classList.toggle('error', !!isError);
    message.hidden = !text;
  };
  return h;
}

export class Rollouts {
  constructor(box, ctx) {
    this.box = box;
    this.ctx = ctx;
    this.layout = '';
    this.pages = [];
    this.rolled = new Map();
  }

  // Rebuilds only when the pages' layout changed, so the focus and open lists survive an edit.
  show(pages) {
    const layout = JSON.stringify(
      pages.map((p) => [p.title, p.template, p.labels, p.controls.map((c) => [c.id, c.kind, c.place])])
    );
    if (layout !== this.layout) {
      this.layout = layout;
      this.pages = pages.map((p) => this.buildPage(p));
      this.box.replaceChildren(...this.pages.map((p) => p.section));
    }
    pages.forEach((p, i) => p.controls.forEach((c, j) => this.pages[i].controls[j].update(c)));
  }

  clear() {
    this.layout = '';
    this.pages = [];
    this.box.replaceChildren();
  }

  hush() {
    for (const p of this.pages) for (const h of p.controls) h.say('');
  }

  buildPage(p) {
    const key = `${p.title}|${p.template}`;
    const title = el('button', { type: 'button', class: 'page-title', textContent: p.title });
    const body = el('div', { class: 'page-body' });
    const section = el('section', { class: 'page', data: { template: p.template } }, title, body);
    const roll = (r) => {
      this.rolled.set(key, r);
      section.classList.toggle('rolled', r);
      title.setAttribute('aria-expanded', String(!r));
    };
    roll(this.rolled.get(key) ?? p.rolledUp);
    title.addEventListener('click', () => roll(!section.classList.contains('rolled')));

    let bottom = 0;
    let right = 0;
    const grow = ([x, y, w], h) => {
      bottom = Math.max(bottom, y + h);
      right = Math.max(right, x + w);
    };
    // A group's place is either its title row or the whole frame around its controls.
    const labels = (p.labels ?? []).map((l) => {
      const e =
        l.kind !== 'group'
          ? el('span', { class: 'label', textContent: l.text })
          : l.place[3] > ROW
            ? el('div', { class: 'group-box' }, el('span', { class: 'frame-title', textContent: l.text }))
            : el('span', { class: 'group-label', textContent: l.text });
      placeBox(e, l.place);
      grow(l.place, l.place[3]);
      return { l, e };
    });
    const controls = p.controls.map((c) => {
      grow(c.place, boxHeight(c));
      return buildControl(c, p.template, this.ctx);
    });
    // A spinner's label on its row drags it as well as its grip.
    for (const { l, e } of labels) {
      const s = controls.find((h) => h.drag && Math.abs(h.c.place[1] - l.place[1]) <= 2 && l.place[0] < h.c.place[0]);
      if (l.kind === 'static' && s) s.drag(e);
    }
    body.append(...labels.map((x) => x.e), ...controls.map((h) => h.wrap));
    body.style.height = `${(bottom + 4) * SY}px`;
    body.style.width = `${(right + 4) * SX}px`;
    return { section, controls };
  }
}
