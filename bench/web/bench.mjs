// The web page against a bare page, in one headless Chromium, served by one local nginx; the
// title's time in Firefox ESR too.
// usage: node bench/web/bench.mjs SITE_FOLDER [CHROMIUM [FIREFOX]]
//        (RUNS=10 PHONE_RUNS=3 CPU_RUNS=3 FLIGHT_S=20 FIREFOX_RUNS=10; FIREFOX_RUNS=0: none)
import { spawn } from 'node:child_process';
import fs from 'node:fs';
import net from 'node:net';
import os from 'node:os';
import path from 'node:path';
import * as web from '../../tests/web/harness.mjs';

const [SITE, CHROMIUM = '/usr/bin/chromium', FIREFOX = '/usr/bin/firefox-esr'] = process.argv.slice(2);
const env = (name, fallback) => Number(process.env[name] ?? fallback);
const RUNS = env('RUNS', 10), PHONE_RUNS = env('PHONE_RUNS', 3), CPU_RUNS = env('CPU_RUNS', 3);
const FLIGHT_S = env('FLIGHT_S', 20), FIREFOX_RUNS = env('FIREFOX_RUNS', 10);
const NGINX = process.env.NGINX ?? '/usr/sbin/nginx';
// A phone on a good mobile network: Chromium's emulation, in bytes per second and milliseconds.
const PHONE = { download: 9e6 / 8, upload: 2e6 / 8, latency: 80 };
const GZIP_LEVEL = 5;
const VIEWPORT = { width: 800, height: 800 }, LOAD_AT_START = os.loadavg();
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));
const nginxVersion = () => new Promise((resolve) => {
  let text = '';
  const proc = spawn(NGINX, ['-v'], { stdio: ['ignore', 'ignore', 'pipe'] });
  proc.stderr.setEncoding('utf8').on('data', (t) => { text += t; });
  proc.on('exit', () => resolve(text.replace(/^nginx version: /, '')));
});
const median = (xs) => {
  const s = [...xs].sort((a, b) => a - b);
  return (s[(s.length - 1) >> 1] + s[s.length >> 1]) / 2;
};

// One folder served: a copy of the site (a rebuild meanwhile cannot mix two versions) and the
// bare page side by side.
const root = fs.mkdtempSync(path.join(os.tmpdir(), 'pirune-bench-'));
process.on('exit', () => fs.rmSync(root, { recursive: true, force: true }));
const www = path.join(root, 'www'), BARE_HTML = new URL('bare.html', import.meta.url).pathname;
fs.cpSync(SITE, path.join(www, 'site'), { recursive: true });
fs.mkdirSync(path.join(www, 'bare'));
fs.copyFileSync(BARE_HTML, path.join(www, 'bare', 'bare.html'));
const filesIn = (dir) => fs.readdirSync(dir, { recursive: true }).map((f) => path.join(dir, f))
  .filter((f) => fs.statSync(f).isFile());
const bytesOf = (files) => files.reduce((s, f) => s + fs.statSync(f).size, 0);

// Served as static hosts serve: text and programs gzipped (not the pictures and music, which are
// compressed already), WebAssembly as application/wasm so that it compiles while it streams. One
// process in the foreground, everything it writes in `root`; its access log gives the bodies
// as sent.
async function serveWithNginx() {
  if (!fs.existsSync(NGINX)) throw new Error(`no ${NGINX}: scripts/install-deps.sh bench installs it`);
  const log = path.join(root, 'access.log');
  for (let attempt = 0; ; attempt++) {
    const port = await new Promise((resolve) => {
      const free = net.createServer().listen(0, '127.0.0.1', () => {
        const { port } = free.address();
        free.close(() => resolve(port));
      });
    });
    fs.writeFileSync(path.join(root, 'nginx.conf'), `
daemon off;
master_process off;
worker_processes 1;
pid ${root}/nginx.pid;
error_log stderr warn;
events { worker_connections 256; }
http {
  types {
    text/html html; text/css css; text/javascript js mjs; application/json json;
    application/manifest+json webmanifest; application/wasm wasm;
    image/webp webp; image/png png; image/svg+xml svg; audio/mpeg mp3;
  }
  default_type application/octet-stream;
  log_format bench '$status $body_bytes_sent "$request_uri" "$sent_http_content_encoding"';
  access_log ${log} bench;
  client_body_temp_path ${root}/tmp-body;
  proxy_temp_path ${root}/tmp-proxy;
  fastcgi_temp_path ${root}/tmp-fastcgi;
  uwsgi_temp_path ${root}/tmp-uwsgi;
  scgi_temp_path ${root}/tmp-scgi;
  sendfile on;
  tcp_nopush on;
  gzip on;
  gzip_comp_level ${GZIP_LEVEL};
  gzip_min_length 256;
  gzip_vary on;
  gzip_types text/css text/javascript application/json application/manifest+json application/wasm
             image/svg+xml;
  server {
    listen 127.0.0.1:${port};
    root ${www};
    index index.html;
  }
}
`);
    const proc = spawn(NGINX, ['-e', 'stderr', '-p', `${root}/`, '-c', path.join(root, 'nginx.conf')],
      { stdio: ['ignore', 'ignore', 'pipe'] });
    let errors = '';
    proc.stderr.setEncoding('utf8').on('data', (text) => { errors += text; });
    process.on('exit', () => proc.kill());
    const exited = new Promise((resolve) => proc.on('exit', (code) => resolve(`ended with ${code}`)));
    const up = await Promise.race([exited, (async () => {
      for (const end = Date.now() + 10000; Date.now() < end;) {
        const ok = await new Promise((resolve) => net.connect(port, '127.0.0.1')
          .on('connect', function () { this.destroy(); resolve(true); }).on('error', () => resolve(false)));
        if (ok) return 'up';
        await sleep(20);
      }
      return 'not listening after 10 s';
    })()]);
    if (up === 'up') {
      let read = 0;
      // The bodies sent since the last call, from the lines the log gained.
      const sent = () => {
        const text = fs.existsSync(log) ? fs.readFileSync(log, 'utf8') : '';
        const lines = text.slice(read).split('\n').filter(Boolean);
        read = text.length;
        return lines.reduce((s, line) => s + Number(line.split(' ')[1]), 0);
      };
      return { url: `http://127.0.0.1:${port}/`, sent, stop: () => proc.kill() };
    }
    proc.kill();
    if (attempt === 2) throw new Error(`nginx ${up}: ${errors.trim()}`);
  }
}
const server = await serveWithNginx();

// What the server sends for each kind of file, as a browser asks for it: gzipped or not, and
// under which type. The streaming compilation needs application/wasm.
const headersOf = async (file) => {
  const response = await fetch(server.url + file, { headers: { 'Accept-Encoding': 'gzip' } });
  await response.arrayBuffer();
  return `${path.extname(file)} ${response.headers.get('Content-Type')}`
    + ` ${response.headers.get('Content-Encoding') ?? 'as is'}`;
};
const siteFiles = filesIn(path.join(www, 'site'));
const kinds = [...new Set(siteFiles.map((f) => path.extname(f)))].sort()
  .map((ext) => path.relative(path.join(www, 'site'), siteFiles.find((f) => path.extname(f) === ext)));
const servedAs = await Promise.all(kinds.map((f) => `site/${f}`).map(headersOf));
if (!servedAs.some((line) => line === '.wasm application/wasm gzip')) {
  throw new Error(`the server does not send the program gzipped as application/wasm: ${servedAs.join('; ')}`);
}
server.sent();
const browser = await web.launch(CHROMIUM);

// Put into every page before its own scripts: notes the first frame whose canvas shows the
// title (an 8 × 8 sample close to `title`), and wraps the 2D context's drawing calls on the
// client canvas to count draws (one per task), those in a display frame that already had one,
// those that left the pixels as they were (with `hash`), and where the hero was drawn.
//
// The title's frame is the display frame that first presents it. The canvas is looked at when a
// draw ends as well as at every animation frame: the game draws in its own animation-frame
// callback, after this one, so a look at frames alone would see the title one frame late. A draw
// that ends inside a frame's callbacks (`frameTime` is set by this probe's callback, which runs
// first in every frame, until a task after the frame clears it) is presented by that frame; a
// draw in any other task by the next one. `titleDrawnAt` is when that draw ended.
function probe({ title, hash }) {
  const seen = { titleFrame: null, titleDrawnAt: null, draws: 0, extra: 0, unchanged: 0, frames: 0,
    heroTop: null };
  window.__bench = seen;
  const sample = new OffscreenCanvas(8, 8).getContext('2d', { willReadFrequently: true });
  const showsTitle = (canvas) => {
    sample.drawImage(canvas, 0, 0, 8, 8);
    const { data } = sample.getImageData(0, 0, 8, 8);
    const off = title.reduce((s, v, i) => s + (v - data[i + ((i / 3) | 0)]) ** 2, 0);
    return Math.sqrt(off / title.length) < 0.06 * 255;
  };
  let frameTime = null, titleDrawn = false;
  const afterFrame = new MessageChannel();
  afterFrame.port1.onmessage = () => { frameTime = null; };
  const tick = (time) => {
    seen.frames++;
    frameTime = time;
    afterFrame.port2.postMessage(0);
    const canvas = document.getElementById('client');
    if (seen.titleFrame === null && title && canvas?.width && (titleDrawn || showsTitle(canvas))) {
      seen.titleFrame = time;
    }
    requestAnimationFrame(tick);
  };
  requestAnimationFrame(tick);
  const proto = CanvasRenderingContext2D.prototype, read = proto.getImageData;
  let open = false, lastFrame = -1, lastHash = null;
  const close = (ctx) => {
    open = false;
    seen.draws++;
    if (seen.titleFrame === null && title && !titleDrawn && showsTitle(ctx.canvas)) {
      seen.titleDrawnAt = performance.now();
      if (frameTime !== null) seen.titleFrame = frameTime;
      else titleDrawn = true;
    }
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

async function open(address, options = {}, network = null, within = browser) {
  const context = await within.createBrowserContext(), page = await context.newPage();
  await page.setViewport(VIEWPORT);
  if (network) await page.emulateNetworkConditions(network);
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
const bare = `bare/bare.html?size=${size}&css=${css}`, titlePicture = web.pictureFile(SITE, 'stt');
const PAGES = {
  game: { title: 'site/', flight: 'site/' },
  bare: { title: `${bare}&picture=../site/${titlePicture}`, flight: `${bare}&animate` },
};

// Navigation to the title's first frame, the bytes fetched until then (Resource Timing:
// transfer sizes, cold cache) and the bodies served until the page and its service worker rest.
async function coldStart(kind, network = null, within = browser) {
  server.sent();
  const { page, close } = await open(PAGES[kind].title, { title }, network, within);
  await page.waitForFunction(() => window.__bench.titleFrame !== null, { timeout: 60000 });
  await page.waitForNetworkIdle({ idleTime: 500, timeout: 60000 });
  const result = await page.evaluate(async () => {
    if (await navigator.serviceWorker?.getRegistration()) await navigator.serviceWorker.ready;
    // The title is on the canvas once its frame has begun and its draw has ended (a long first
    // paint ends well into its frame); the bytes are those in by the frame's time.
    const { titleFrame, titleDrawnAt } = window.__bench, kinds = ['navigation', 'resource'];
    const before = kinds.flatMap((k) => performance.getEntriesByType(k))
      .filter((e) => e.responseEnd <= titleFrame);
    return { ms: Math.max(titleFrame, titleDrawnAt ?? titleFrame),
      before: before.reduce((s, e) => s + e.transferSize, 0) };
  });
  await close();
  return { ...result, all: server.sent() };
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

const starts = { game: [], bare: [] }, phone = { game: [], bare: [] }, loads = { game: [], bare: [] };
for (let run = 0; run < RUNS; run++) for (const k of ['game', 'bare']) starts[k].push(await coldStart(k));
for (let run = 0; run < PHONE_RUNS; run++) {
  for (const k of ['game', 'bare']) phone[k].push(await coldStart(k, PHONE));
}
for (let run = 0; run < CPU_RUNS; run++) for (const k of ['game', 'bare']) loads[k].push(await busy(k, false));
const counted = { game: await busy('game', true), bare: await busy('bare', true) };
const version = await browser.version();
await browser.close();

// The title in the other engine: Firefox over WebDriver BiDi, which has no network emulation
// and no task metrics, so only the local loads.
const firefox = { game: [], bare: [] };
let firefoxVersion = null;
if (FIREFOX_RUNS > 0) {
  const other = await web.launch(FIREFOX, 'firefox');
  for (let run = 0; run < FIREFOX_RUNS; run++) {
    for (const k of ['game', 'bare']) firefox[k].push(await coldStart(k, null, other));
  }
  firefoxVersion = await other.version();
  await other.close();
}

server.stop();
const of = (k, key, runs = starts) => median(runs[k].map((r) => r[key]));
const onDisk = { game: bytesOf(filesIn(path.join(www, 'site'))),
  bare: bytesOf([path.join(www, 'bare', 'bare.html'), path.join(www, 'site', titlePicture)]) };
const rows = [
  [`Navigation to the title's first frame, ms (median of ${RUNS}, cold, local)`, (k) => of(k, 'ms'), 0],
  [`The same on an emulated phone network (${PHONE.download * 8e-6} Mbit/s down, `
    + `${PHONE.upload * 8e-6} up, ${PHONE.latency} ms round trip; median of ${PHONE_RUNS}, cold)`,
  (k) => of(k, 'ms', phone), 0],
  ...(FIREFOX_RUNS > 0 ? [[`The same in Firefox ESR (median of ${FIREFOX_RUNS}, cold, local)`,
    (k) => of(k, 'ms', firefox), 0]] : []),
  ['Bytes fetched before the title shows (transfer sizes: gzipped bodies and headers)',
    (k) => of(k, 'before'), 0],
  ['Size on disk (the site folder\'s files; for the bare page, bare.html and the title picture)',
    (k) => onDisk[k], 0],
  ['Bytes served for the whole page (bodies as sent, gzipped; service worker included)',
    (k) => of(k, 'all'), 0],
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
console.log(`\nBare page: bench/web/bare.html, its script inline; the title: ${titlePicture} fetched from the`
  + ` site and drawn on the canvas; the flight: ?animate, four rectangles repainted at every display frame.`);
console.log(`Server: ${(await nginxVersion()).trim()}, gzip level ${GZIP_LEVEL}; served as`
  + ` ${servedAs.join('; ')}.`);
console.log(`\n${version}${firefoxVersion ? ` and ${firefoxVersion}` : ''}, headless; canvas ${size} device px (${css} CSS px); load average`
  + ` ${load(LOAD_AT_START)} at the start, ${load(os.loadavg())} at the end`);
