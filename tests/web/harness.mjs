// What the browser tests and the benchmark share: the site on a local server, a headless
// Chromium or Firefox, conditions waited for with a deadline, and the window read as a player
// sees it (the canvas in 100 × 100 units, the menus by their captions, the dialogs by their
// texts).
import { spawn } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import puppeteer from 'puppeteer-core';

export const DEADLINE_MS = 20000;
export class Failure extends Error {}

export const expect = (ok, what, seen) => { if (!ok) throw new Failure(`expected ${what}; saw ${seen}`); };
// A value to be `want`, or to pass `want` when it is a test.
export const is = (seen, want, what) => expect(typeof want === 'function' ? want(seen) : seen === want, `${what}: ${want}`, seen);

// Polls probe (async, returns { ok, seen, value }) until ok; fails with what was last seen.
export async function until(what, probe, ms = DEADLINE_MS) {
  for (const end = Date.now() + ms; ;) {
    const { ok, seen, value } = await probe().catch((e) => ({ ok: false, seen: e.message }));
    if (ok) return value;
    if (Date.now() > end) throw new Failure(`expected ${what} within ${ms} ms; last seen: ${seen}`);
    await new Promise((r) => setTimeout(r, 20));
  }
}

// Polls get (async) until it gives want; fails with what it gave last.
export const untilIs = (what, get, want, ms) => until(`${what}: ${JSON.stringify(want)}`,
  async () => { const seen = await get(); return { ok: seen === want, seen: JSON.stringify(seen) }; }, ms);

export const withDeadline = (promise, what, ms = DEADLINE_MS) => Promise.race([promise,
  new Promise((_, fail) => setTimeout(() => fail(new Failure(`expected ${what} within ${ms} ms`)), ms).unref())]);

// A static server on a free port of 127.0.0.1 (a secure origin: the service worker registers),
// its log of requests left unread. With `ranking` ({ program, data }), pirune-server serves the
// site instead, with its world ranking on a new SQLite file, once it can serve.
export async function serve(dir, ranking = null) {
  const proc = spawn(...(ranking ? [ranking.program, ['--site', dir, '--data', ranking.data, '--listen', '127.0.0.1:0']]
    : ['python3', ['-u', '-m', 'http.server', '--bind', '127.0.0.1', '0', '--directory', dir]]), { stdio: ['ignore', 'pipe', 'ignore'] });
  process.on('exit', () => proc.kill()); // also when a run ends in an uncaught error
  const port = await withDeadline(new Promise((resolve, reject) => {
    proc.stdout.setEncoding('utf8').on('data', (text) => text.match(/(?: port |127\.0\.0\.1:)(\d+)/)?.slice(1).forEach(resolve));
    proc.on('exit', (code) => reject(new Failure(`the site server ended with ${code}`)));
  }), 'the site server to listen');
  const url = `http://127.0.0.1:${port}/`;
  if (ranking) await until('api/health', async () => ({ ok: (await fetch(`${url}api/health`)).ok, seen: 'not yet' }));
  return { url, stop: () => proc.kill() };
}

// Chromium is driven over CDP, Firefox over WebDriver BiDi, both headless and silent; each saves
// every download, unasked, into `downloads`. Firefox gets a HOME of its own: it writes its
// caches there, and with a HOME it cannot write it never starts.
export async function launch(executable, engine = 'chromium', { downloads = null } = {}) {
  if (engine === 'chromium') {
    return puppeteer.launch({ executablePath: executable, headless: true,
      args: [...(process.getuid?.() === 0 ? ['--no-sandbox'] : []), '--mute-audio'],
      ...(downloads && { downloadBehavior: { policy: 'allow', downloadPath: downloads } }) });
  }
  const home = fs.mkdtempSync(path.join(os.tmpdir(), 'pirune-firefox-home-'));
  process.on('exit', () => fs.rmSync(home, { recursive: true, force: true }));
  const saveTo = downloads ? { 'browser.download.dir': downloads, 'browser.download.folderList': 2,
    'browser.download.useDownloadDir': true, 'browser.download.always_ask_before_handling_new_types': false,
    'browser.download.manager.showWhenStarting': false } : {};
  return puppeteer.launch({ browser: 'firefox', executablePath: executable, headless: true,
    env: { ...process.env, HOME: home },
    extraPrefsFirefox: { 'media.volume_scale': '0.0', ...saveTo } });
}

// The site's file of a picture, whichever lossless format the build chose.
export function pictureFile(site, name) {
  const file = fs.readdirSync(site).find((f) => f === `${name}.webp` || f === `${name}.png`);
  expect(file, `a picture ${name}.webp or ${name}.png in ${site}`, 'none');
  return file;
}

// The client canvas after the next frame (or a picture drawn to its size) as CELLS × CELLS
// cells: the mean colour and the brightest luminance of each.
export const CELLS = 50;
export function look(page, picture = null) {
  return page.evaluate(async (src, n) => {
    const canvas = document.getElementById('client');
    if (!canvas) throw new Error(`no canvas#client on the page "${document.title}"`);
    const source = src ? Object.assign(new Image(), { src }) : canvas;
    await (src ? source.decode() : new Promise((r) => requestAnimationFrame(() => r())));
    const { width: w, height: h } = canvas;
    const ctx = new OffscreenCanvas(w, h).getContext('2d', { willReadFrequently: true });
    ctx.drawImage(source, 0, 0, w, h);
    const { data } = ctx.getImageData(0, 0, w, h);
    const sum = new Float64Array(n * n * 3), max = new Float64Array(n * n);
    const column = Int32Array.from({ length: w }, (_, x) => Math.floor((x * n) / w));
    // Written out flat: with a loop over the channels, Firefox took ten times as long.
    for (let i = 0; i < data.length; i += 4) {
      const cell = Math.floor((Math.floor(i / 4 / w) * n) / h) * n + column[(i / 4) % w];
      const r = data[i], g = data[i + 1], b = data[i + 2], luminance = 0.299 * r + 0.587 * g + 0.114 * b;
      sum[cell * 3] += r; sum[cell * 3 + 1] += g; sum[cell * 3 + 2] += b;
      if (luminance > max[cell]) max[cell] = luminance;
    }
    const perCell = (w * h) / (n * n);
    return { mean: Array.from(sum, (s) => Math.round(s / perCell)), max: Array.from(max, Math.round) };
  }, picture, CELLS);
}

// Put into the page before its own scripts, to note what a player would see and hear:
// - each line of text given to the client canvas, where its start lies in units, so that a test
//   reads what the window says rather than how one browser's font draws it (by place, the
//   latest last: a frame repaints only what changed, so the last text drawn at a place is the
//   one still shown there);
// - every frame's painted rectangles (those the frame clips to);
// - each start of the music's sound;
// - each dialog closed (the game may open its next box in the same dialog at once, sooner than a
//   look could find it shut);
// and storage that refuses every save once window.refuseStorage is set.
export const probe = (page) => page.evaluateOnNewDocument(() => {
  // `note` sees each call of the method first, with its arguments.
  const wrap = (proto, name, note) => {
    const method = proto[name];
    proto[name] = function (...args) { note.apply(this, args); return method.apply(this, args); };
  };
  const canvas2d = CanvasRenderingContext2D.prototype;
  let depth = 0, rects = [];
  Object.assign(window, { textsDrawn: new Map(), framesPainted: [], musicStarts: 0, dialogsShut: 0 });
  wrap(canvas2d, 'fillText', function (text, x, y) {
    if (this.canvas.id !== 'client') return;
    const { width, height } = this.canvas, place = `${Math.round(x)},${Math.round(y)}`;
    window.textsDrawn.delete(place);
    window.textsDrawn.set(place, { text: String(text), x: (x * 100) / width, y: (y * 100) / height });
  });
  wrap(canvas2d, 'save', () => { depth += 1; });
  wrap(canvas2d, 'rect', (...r) => { if (depth === 1) rects.push(r); });
  wrap(canvas2d, 'restore', () => { if (--depth === 0 && rects.length > 0) window.framesPainted.push(rects.splice(0)); });
  wrap(AudioBufferSourceNode.prototype, 'start', () => { window.musicStarts += 1; });
  wrap(Storage.prototype, 'setItem', function () {
    if (this === localStorage && window.refuseStorage) throw new DOMException('full', 'QuotaExceededError');
  });
  document.addEventListener('close', () => { window.dialogsShut += 1; }, true);
});

// The text last drawn starting in a rectangle in units (left, top, right, bottom), or ''.
export const textAt = (page, x0, y0, x1, y1) => page.evaluate((...r) => [...window.textsDrawn.values()]
  .findLast(({ x, y }) => x >= r[0] && y >= r[1] && x < r[2] && y < r[3])?.text ?? '', x0, y0, x1, y1);

// The brightest luminance in a rectangle given in units (left, top, right, bottom).
export function brightest(view, x0, y0, x1, y1) {
  const cell = (u) => Math.min(CELLS - 1, Math.floor((u * CELLS) / 100));
  let max = 0;
  for (let y = cell(y0); y <= cell(y1 - 0.01); y++)
    for (let x = cell(x0); x <= cell(x1 - 0.01); x++) max = Math.max(max, view.max[y * CELLS + x]);
  return max;
}

// The view shows the picture `want` of refs: close to it and clearly closer to it than to any
// other (the label's text over a story picture moves it a little). The distance is the
// root-mean-square difference of the mean colours, 0 (same) to 1.
export function showsPicture(view, refs, want) {
  const rms = (r) => Math.sqrt(view.mean.reduce((s, v, i) => s + (v - r.mean[i]) ** 2, 0) / view.mean.length) / 255;
  const d = Object.fromEntries(Object.entries(refs).map(([k, r]) => [k, rms(r)]));
  const ok = d[want] < 0.08 && Object.entries(d).every(([k, v]) => k === want || v > d[want] * 2 + 0.02);
  return { ok, seen: Object.entries(d).map(([k, v]) => `${k}=${v.toFixed(3)}`).join(' ') };
}

export const menuItem = (caption, role = 'menuitem') => `::-p-aria([name="${caption}"][role="${role}"])`;

// An attribute of a menu item found by its caption, shown or not.
export const ariaOf = (page, role, caption, name) => page.$$eval(`[role="${role}"]`,
  (items, c, n) => items.find((e) => e.textContent === c)?.getAttribute(n) ?? 'no such item', caption, name);

// Sets an option of the オプション menu (by touch or mouse) and waits for its check mark to say
// so; a menu still open then is shut with Escape, so that it does not lie over the window.
export async function setOption(page, caption, on, touch = false) {
  const want = String(on), checked = () => ariaOf(page, 'menuitemcheckbox', caption, 'aria-checked');
  const presses = (await checked()) === want ? [] : [menuItem('オプション'), menuItem(caption, 'menuitemcheckbox')];
  for (const item of presses) await (await page.waitForSelector(item, { visible: true }))[touch ? 'tap' : 'click']();
  await untilIs(`${caption}'s aria-checked`, checked, want);
  const menuShown = () => page.$$eval('[role="menu"]', (ms) => ms.some((m) => m.checkVisibility()));
  if (await menuShown()) await page.keyboard.press('Escape');
  await untilIs('a drop-down menu shown', menuShown, false);
}

// The open dialog (message or input box): its id, title, text line by line (runs of blanks
// seen as one), buttons. With `press`, answered at once with that button.
export async function openDialog(page, what, id = null, press = null) {
  const selector = id ? `dialog#${id}[open]` : 'dialog[open]';
  await withDeadline(page.waitForSelector(selector, { timeout: 0 }), `${what} (${selector})`);
  const box = await page.$eval(selector, (d) => ({ id: d.id, title: d.querySelector('h2')?.textContent ?? '',
    lines: (d.querySelector('p')?.innerText ?? '').split('\n').map((l) => l.replace(/\s+/g, ' ').trimEnd()),
    buttons: [...d.querySelectorAll('button')].map((b) => b.textContent.trim()) }));
  if (press) await answer(page, box.id, press);
  return box;
}

// Presses a dialog's button by its text and waits for the dialog to close, by the closings the
// probe counts.
export async function answer(page, id, label) {
  const shut = () => page.evaluate(() => window.dialogsShut);
  const before = await shut(), buttons = await page.$$(`dialog#${id}[open] button`);
  const texts = await Promise.all(buttons.map((b) => b.evaluate((e) => e.textContent.trim())));
  expect(texts.includes(label), `a button "${label}" in #${id}`, texts.join() || 'none');
  await buttons[texts.indexOf(label)].click();
  await until(`#${id} to close after ${label}`, async () => ({ ok: (await shut()) > before, seen: 'it open' }));
}

// The canvas's centre in page pixels, where a click is a wing beat or the story's click.
export const centre = async (page) => {
  const { x, y, width, height } = await (await page.$('#client')).boundingBox();
  return { x: x + width / 2, y: y + height / 2 };
};
