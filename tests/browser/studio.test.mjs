// Drives `vermil studio` in Chromium on a copy of the painted still life: one edit must repaint
// the previews, step back and forth through undo and redo, and save as a one-value change.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { spawn } from 'node:child_process';
import fs from 'node:fs/promises';
import os from 'node:os';
import path from 'node:path';
import readline from 'node:readline';
import { fileURLToPath } from 'node:url';
import { chromium } from 'playwright-core';

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
const vermil = path.resolve(root, process.env.VERMIL || 'build/release/src/app/vermil');
const SIZE = '.control[data-template="103"][data-id="1204"]';

const sleep = (ms) => new Promise((r) => setTimeout(r, ms));
function deadline(promise, ms, what) {
  let timer;
  const late = new Promise((_, reject) => (timer = setTimeout(() => reject(new Error(`timed out: ${what}`)), ms)));
  return Promise.race([promise, late]).finally(() => clearTimeout(timer));
}

let dir, doc, original, server, exited, address, browser, page;
const pageErrors = [];

before(async () => {
  dir = await fs.mkdtemp(path.join(os.tmpdir(), 'vermil-studio-'));
  doc = path.join(dir, 'still_life_painted.json');
  await fs.copyFile(path.join(root, 'examples/still_life_painted.json'), doc);
  await fs.cp(path.join(root, 'examples/textures'), path.join(dir, 'textures'), { recursive: true });
  original = await fs.readFile(doc, 'utf8');

  server = spawn(vermil, ['studio', doc, '--no-browser', '--port', '0'], { stdio: ['ignore', 'pipe', 'inherit'] });
  exited = new Promise((resolve) => server.once('exit', (code, signal) => resolve({ code, signal })));
  const printed = new Promise((resolve, reject) => {
    readline.createInterface({ input: server.stdout }).on('line', (line) => {
      const m = /^vermil studio: (http:\/\/127\.0\.0\.1:\d+\/\?token=\S+)$/.exec(line);
      if (m) resolve(m[1]);
    });
    server.once('error', reject);
    exited.then(({ code }) => reject(new Error(`${vermil} studio exited with ${code} before its address`)));
  });
  address = new URL(await deadline(printed, 30000, 'the address line'));

  browser = await chromium.launch({ executablePath: '/usr/bin/chromium', args: ['--no-sandbox'] });
  page = await browser.newPage({ viewport: { width: 1400, height: 900 } });
  page.on('pageerror', (err) => pageErrors.push(err.message));
});

after(async () => {
  await browser?.close();
  if (server && server.exitCode === null && server.signalCode === null) server.kill('SIGKILL');
  if (dir) await fs.rm(dir, { recursive: true, force: true });
});

// Waits until the image has loaded and no new picture came for a while; the viewport's
// quick low-resolution pictures never count.
async function settled(selector) {
  await page.waitForFunction((s) => {
    const img = document.querySelector(s);
    return img?.complete && img.naturalWidth > 0 && img.dataset.quick !== 'true';
  }, selector, { timeout: 120000 });
  for (let shot = null; ; ) {
    const now = await page.$eval(selector, (img) => img.src);
    if (now === shot) return page.locator(selector).screenshot();
    shot = now;
    await sleep(2000);
  }
}

async function changes(selector, before) {
  const end = Date.now() + 60000;
  while (Date.now() < end) {
    const now = await page.locator(selector).screenshot();
    if (!now.equals(before)) return;
    await sleep(250);
  }
  assert.fail(`${selector} did not change`);
}

// The next full viewport picture after `frame`.
const nextFullFrame = (frame) =>
  page.waitForFunction(
    (f) => {
      const img = document.querySelector('#viewport');
      return img.complete && img.dataset.frame !== f && img.dataset.quick === 'false';
    },
    frame,
    { timeout: 120000 }
  ).catch(() => assert.fail('no new full viewport picture came'));

const sizeIs = (value) =>
  page.waitForFunction(([s, v]) => document.querySelector(s)?.value === v, [`${SIZE} input`, value], { timeout: 30000 });

async function typeSize(value) {
  await page.locator(`${SIZE} input`).fill(value);
  await page.locator(`${SIZE} input`).press('Enter');
}

test('the API answers only with the session token', async () => {
  const api = new URL('/api/tree', address);
  assert.equal((await fetch(api)).status, 403);
  const ok = await fetch(api, { headers: { 'X-Vermil-Token': address.searchParams.get('token') } });
  assert.equal(ok.status, 200);
  assert.ok((await ok.json()).groups.some((g) => g.items.some((i) => i.name === 'applePaint')));
});

test('a brush size edit repaints the sample and the viewport', { timeout: 300000 }, async () => {
  await page.goto(address.href);
  await page.locator('#tree [data-kind="material"][data-name="applePaint"]').first().click();
  await sizeIs('8');
  const sample = await settled('#sample');
  const view = await settled('#viewport');
  const frame = await page.$eval('#viewport', (img) => img.dataset.frame);
  await typeSize('16');
  await sizeIs('16');
  await changes('#sample', sample);
  await nextFullFrame(frame);
  assert.ok(!view.equals(await page.locator('#viewport').screenshot()), 'the viewport did not change');
  assert.equal(await page.locator('#dirty').isVisible(), true);
});

test('undo and redo step the size back and forth', async () => {
  await page.click('#undo');
  await sizeIs('8');
  await page.click('#redo');
  await sizeIs('16');
});

test('saving writes only the changed value', async () => {
  await page.click('#save');
  await page.locator('#dirty').waitFor({ state: 'hidden', timeout: 30000 });
  const expected = original.replace('"brushSize": 8', '"brushSize": 16');
  assert.notEqual(expected, original);
  assert.equal(await fs.readFile(doc, 'utf8'), expected);
});

test('an out-of-range size is answered next to the control', async () => {
  await typeSize('500');
  const message = page.locator(`${SIZE} .message`);
  await message.waitFor({ state: 'visible', timeout: 30000 });
  assert.match(await message.textContent(), /0\.1 to 100\b/);
  assert.deepEqual(pageErrors, []);
});

test('the server stops on SIGTERM with the page still connected', async () => {
  server.kill('SIGTERM');
  const { code, signal } = await deadline(exited, 15000, 'vermil studio to exit');
  assert.ok(code === 0 || signal === 'SIGTERM', `exit code ${code}, signal ${signal}`);
});
