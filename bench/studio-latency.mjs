// Times the studio from a spinner change to the first viewport frame at the preview size that
// shows it, on a copy of the painted still life. Usage (from the repository root):
//   node bench/studio-latency.mjs [path/to/vermil] [changes]
import { spawn } from 'node:child_process';
import { cpSync, mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';

const vermil = process.argv[2] ?? 'build/release/src/app/vermil';
const changes = Number(process.argv[3] ?? 10);
const dir = mkdtempSync(join(tmpdir(), 'studio-latency-'));
cpSync('examples/still_life_painted.json', join(dir, 'scene.json'));
cpSync('examples/textures', join(dir, 'textures'), { recursive: true });

const server = spawn(vermil, ['studio', join(dir, 'scene.json'), '--no-browser'], { stdio: ['ignore', 'pipe', 'inherit'] });
const address = await new Promise((resolve) => {
  server.stdout.on('data', (chunk) => {
    const m = /vermil studio: (\S+)/.exec(chunk.toString());
    if (m) resolve(new URL(m[1]));
  });
});
const token = address.searchParams.get('token');
const base = address.origin;
const headers = { 'X-Vermil-Token': token, 'Content-Type': 'application/json' };
const post = (path, body) =>
  fetch(base + path, { method: 'POST', headers, body: JSON.stringify(body) }).then((r) => r.json());

// Finished viewport frames, as they come.
const frames = [];
let wake = () => {};
const events = await fetch(base + '/api/events', { headers });
(async () => {
  const decoder = new TextDecoder();
  let text = '';
  for await (const chunk of events.body) {
    text += decoder.decode(chunk, { stream: true });
    let end;
    while ((end = text.indexOf('\n\n')) >= 0) {
      const block = text.slice(0, end);
      text = text.slice(end + 2);
      if (block.startsWith('event: frame')) {
        frames.push({ at: performance.now(), ...JSON.parse(block.split('\ndata: ')[1]) });
        wake();
      }
    }
  }
})().catch(() => {});
const frameShowing = (version) =>
  new Promise((resolve) => {
    const look = () => {
      const f = frames.find((x) => !x.quick && x.version >= version);
      if (f) resolve(f);
      else wake = look;
    };
    look();
  });

const opened = await post('/api/open', { kind: 'material', name: 'applePaint' });
await frameShowing(opened.version);
const times = [];
for (let i = 0; i < changes; ++i) {
  const start = performance.now();
  const state = await post('/api/event', { kind: 'set', dialog: 103, id: 1204, value: String(8 + (i % 2) * 8) });
  const frame = await frameShowing(state.version);
  times.push((frame.at - start) / 1000);
}
times.sort((a, b) => a - b);
const median = times[Math.floor(times.length / 2)];
console.log(`spinner change to updated ${frames.at(-1).width}x${frames.at(-1).height} frame: ` +
  `median ${median.toFixed(3)} s, best ${times[0].toFixed(3)} s, worst ${times.at(-1).toFixed(3)} s (${changes} changes)`);
server.kill('SIGTERM');
await new Promise((resolve) => server.on('exit', resolve));
rmSync(dir, { recursive: true, force: true });
process.exit(0);
