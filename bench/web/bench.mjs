// The web page against a bare page, in one headless Chromium, served by one local server.
// usage: node bench/web/bench.mjs SITE_FOLDER [CHROMIUM]   (RUNS=10 CPU_RUNS=3 FLIGHT_S=20)
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import * as web from '../../tests/web/harness.mjs';

const [SITE, CHROMIUM = '/usr/bin/chromium'] = process.argv.slice(2);
const env = (name, fallback) => Number(process.env[name] ?? fallback);
const RUNS = env('RUNS', 10), CPU_RUNS = env('CPU_RUNS', 3), FLIGHT_S = env('FLIGHT_S', 20);
const VIEWPORT = { width: 800, height: 800 }, LOAD_AT_START = os.loadavg();
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));
const median = (xs) => {
  const s = [...xs].sort((a, b) => a - b);
  return (s[(s.length - 1) >> 1] + s[s.length >> 1]) / 2;
};

// One folder served: a copy of the site (a rebuild meanwhile cannot mix two versions) and the
// bare page side by side, every body sent noted.
const root = fs.mkdtempSync(path.join(os.tmpdir(), 'pirune-bench-'));
fs.cpSync(SITE, path.join(root, 'site'), { recursive: true });
fs.symlinkSync(new URL('.', import.meta.url).pathname, path.join(root, 'bare'));
let served = 0;
const server = await web.serve(root, (line) => {
  const m = line.match(/"GET (\S+) HTTP[^"]*" 200 /);
  const file = m && path.join(root, decodeURIComponent(m[1].split('?')[0]).replace(/\/$/, '/index.html'));
  if (file && fs.existsSync(file)) served += fs.statSync(file).size;
});
const browser = await web.launch(CHROMIUM);

// Put into every page before its own scripts: notes the first frame whose canvas shows the
// title (an 8 × 8 sample close to `title`), and wraps the 2D context's drawing calls on the
// client canvas to count draws (one per task), those in a display frame that already had one,
// those that left the pixels as they were (with `hash`), and where the hero was drawn.
function probe({ title, hash }) {
  const seen = { titleAt: null, draws: 0, extra: 0, unchanged: 0, frames: 0, heroTop: null };
  window.__bench = seen;
  const sample = new OffscreenCanvas(8, 8).getContext('2d');
  const tick = (time) => {
    seen.frames++;
    const canvas = document.getElementById('client');
    if (seen.titleAt === null && title && canvas?.width) {
      sample.drawImage(canvas, 0, 0, 8, 8);
      const { data } = sample.getImageData(0, 0, 8, 8);
      const off = title.reduce((s, v, i) => s + (v - data[i + ((i / 3) | 0)]) ** 2, 0);
      if (Math.sqrt(off / title.length) < 0.06 * 255) seen.titleAt = time;
    }
    requestAnimationFrame(tick);
  };
  requestAnimationFrame(tick);
  const proto = CanvasRenderingContext2D.prototype, read = proto.getImageData;
  let open = false, lastFrame = -1, lastHash = null;
  const close = (ctx) => {
    open = false;
    seen.draws++;
    seen.extra += lastFrame === seen.frames;
    lastFrame = seen.frames;
    if (!hash) return;
    const h = new Uint32Array(read.call(ctx, 0, 0, ctx.canvas.width, ctx.canvas.height).data.buffer)
      .reduce((h, word) => Math.imul(h ^ word, 16777619), 2166136261);
    seen.unchanged += h === lastHash;
    lastHash = h;
  };
  const drawing = ['clearRect', 'fillRect', 'strokeRect', 'drawImage', 'fillText', 'strokeText', 'fill',
    'stroke', 'putImageData'];
  for (const name of drawing) {
    const original = proto[name];
    proto[name] = function (...args) {
      if (this.canvas.id === 'client') {
        if (!open) { open = true; queueMicrotask(() => close(this)); }
        if (name === 'drawImage' && args.length >= 5) {
          const [, dy, dw] = args.length === 9 ? args.slice(5) : args.slice(1), m = this.getTransform();
          if (m.a * dw < this.canvas.width / 2) seen.heroTop = (100 * (m.d * dy + m.f)) / this.canvas.height;
        }
      }
      return original.apply(this, args);
    };
  }
}

async function open(address, options = {}) {
  const context = await browser.createBrowserContext(), page = await context.newPage();
  await page.setViewport(VIEWPORT);
  await page.evaluateOnNewDocument(probe, options);
  await page.goto(server.url + address);
  return { page, close: () => context.close() };
}
const bench = (page) => page.evaluate(() => ({ ...window.__bench }));

// The game's title frame as a player first sees it: the reference for both pages.
const warm = await open('site/');
await warm.page.waitForSelector('#client');
const stt = await web.look(warm.page, web.pictureFile(SITE, 'stt'));
await web.until('the title', async () => web.showsPicture(await web.look(warm.page), { stt }, 'stt'));
const { title, size, css } = await warm.page.evaluate(() => {
  const canvas = document.getElementById('client'), s = new OffscreenCanvas(8, 8).getContext('2d');
  s.drawImage(canvas, 0, 0, 8, 8);
  const title = [...s.getImageData(0, 0, 8, 8).data].filter((_, i) => i % 4 < 3);
  return { title, size: canvas.width, css: canvas.getBoundingClientRect().width };
});
await warm.close();
const bare = `bare/bare.html?size=${size}&css=${css}`;
const PAGES = {
  game: { title: 'site/', flight: 'site/' },
  bare: { title: `${bare}&picture=../site/${web.pictureFile(SITE, 'stt')}`, flight: `${bare}&animate` },
};

// Navigation to the title's first frame, the bytes fetched until then (Resource Timing:
// transfer sizes, cold cache) and the bytes served until the page and its service worker rest.
async function coldStart(kind) {
  served = 0;
  const { page, close } = await open(PAGES[kind].title, { title });
  await page.waitForFunction(() => window.__bench.titleAt !== null, { timeout: 30000 });
  await page.waitForNetworkIdle({ idleTime: 500, timeout: 30000 });
  const result = await page.evaluate(async () => {
    if (await navigator.serviceWorker?.getRegistration()) await navigator.serviceWorker.ready;
    const t = window.__bench.titleAt, kinds = ['navigation', 'resource'];
    const before = kinds.flatMap((k) => performance.getEntriesByType(k)).filter((e) => e.responseEnd <= t);
    return { ms: t, before: before.reduce((s, e) => s + e.transferSize, 0) };
  });
  await sleep(200); // the server's last log lines
  await close();
  return { ...result, all: served };
}

// A flight of FLIGHT_S seconds with the background effect on, kept up by beating whenever the
// hero is low; or the bare page animating as long. Main-thread task time per second, and the
// probe's counts of that span.
async function busy(kind, hash) {
  const { page, close } = await open(PAGES[kind].flight, { hash });
  await page.waitForSelector('#client');
  const { x, y } = await web.centre(page);
  if (kind === 'game') {
    await page.waitForFunction(() => window.__bench.draws > 0);
    await web.setOption(page, '無限モード', true);
    await web.setOption(page, '背景効果', true);
    while ((await bench(page)).heroTop === null) { // the title, the opening's two pages, the flight
      const { draws } = await bench(page);
      await page.mouse.click(x, y);
      await page.waitForFunction((n) => window.__bench.draws > n, {}, draws);
    }
  }
  const cdp = await page.createCDPSession();
  await cdp.send('Performance.enable');
  const taskTime = async () =>
    (await cdp.send('Performance.getMetrics')).metrics.find((m) => m.name === 'TaskDuration').value;
  const [t0, b0, w0] = [await taskTime(), await bench(page), Date.now()];
  let low = 100, high = 0;
  while (Date.now() - w0 < FLIGHT_S * 1000) {
    const { heroTop } = await bench(page);
    [low, high] = [Math.min(low, heroTop ?? 100), Math.max(high, heroTop ?? 0)];
    if (kind === 'game' && heroTop > 50) await page.mouse.click(x, y);
    await sleep(50);
  }
  const [t1, b1, seconds] = [await taskTime(), await bench(page), (Date.now() - w0) / 1000];
  await close();
  if (kind === 'game' && (low < 5 || high > 95)) throw new Error(`the hero left the sky (${low}..${high})`);
  const per = (k) => b1[k] - b0[k];
  return { cpu: (100 * (t1 - t0)) / seconds, drawsPerS: per('draws') / seconds, extra: per('extra'),
    unchanged: per('unchanged'), frames: per('frames') };
}

const starts = { game: [], bare: [] }, loads = { game: [], bare: [] };
for (let run = 0; run < RUNS; run++) for (const k of ['game', 'bare']) starts[k].push(await coldStart(k));
for (let run = 0; run < CPU_RUNS; run++) for (const k of ['game', 'bare']) loads[k].push(await busy(k, false));
const counted = { game: await busy('game', true), bare: await busy('bare', true) };
const version = await browser.version();
await Promise.all([browser.close(), server.stop(), fs.rmSync(root, { recursive: true })]);

const of = (k, key) => median(starts[k].map((r) => r[key]));
const rows = [
  [`Navigation to the title's first frame, ms (median of ${RUNS}, cold)`, (k) => of(k, 'ms'), 0],
  ['Bytes fetched before the title shows (transfer sizes)', (k) => of(k, 'before'), 0],
  ['Bytes served for the whole page (service worker included)', (k) => of(k, 'all'), 0],
  [`Main-thread CPU, % of one core: ${FLIGHT_S} s of flight (effect on) / of animation`
    + ` (median of ${CPU_RUNS})`, (k) => median(loads[k].map((r) => r.cpu)), 1],
  ['Canvas draws per second', (k) => counted[k].drawsPerS, 1],
  ['Draws that changed no pixel', (k) => counted[k].unchanged, 0],
  ['Draws beyond one per display frame', (k) => counted[k].extra, 0],
  ['Display frames in that span', (k) => counted[k].frames, 0],
];
console.log('| Measure | game | bare | game / bare |\n|---|---|---|---|');
for (const [label, value, digits] of rows) {
  const [g, b] = [value('game'), value('bare')];
  console.log(`| ${label} | ${g.toFixed(digits)} | ${b.toFixed(digits)} | ${b ? (g / b).toFixed(2) : '–'} |`);
}
const load = (l) => l.map((x) => x.toFixed(2)).join(' ');
console.log(`\n${version}, headless; canvas ${size} device px (${css} CSS px); load average`
  + ` ${load(LOAD_AT_START)} at the start, ${load(os.loadavg())} at the end`);
