// The web page of the game in a real headless Chromium, played as a player plays it, with the
// background effect off wherever pixels decide.
// usage: node browser_test.mjs game|phone|offline|second-tab|music SITE_FOLDER CHROMIUM
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import {
  CELLS, DEADLINE_MS, Failure, answer, ariaOf, brightest, centre, difference, expect, launch, look,
  menuItem, openDialog, pictureFile, serve, setOption, showsPicture, until, withDeadline,
} from './harness.mjs';

const [CASE, SITE, CHROMIUM] = process.argv.slice(2);
const OUT = process.env.OUT_DIR ?? os.tmpdir();
const FILES = fs.mkdtempSync(path.join(os.tmpdir(), 'pirune-web-')); // downloads and files to load
const TITLE = 'ピルネノ翼';

// --- what the player sees ------------------------------------------------------------------

const pictureShown = (page, refs, want) =>
  until(`the canvas to show the picture ${want}`, async () => showsPicture(await look(page), refs, want));

// Scenes as rectangles in units, lit (white) or dark. A flight: black but for the distance at
// the top left and the hero at the left. The fall: three lines of text at the top left, where a
// flight shows one short line, over the flight's black.
const FLIGHT = { distance: ['lit', 0, 0, 10, 8], hero: ['lit', 0, 10, 36, 100],
  right: ['dark', 36, 10, 100, 100] };
const FALL = { 'line 2': ['lit', 20, 4, 40, 9], 'line 3': ['lit', 20, 9, 40, 14],
  right: ['dark', 50, 20, 100, 100] };
function scene(v, rects) {
  const seen = Object.entries(rects).map(([name, [kind, ...rect]]) => [name, kind, brightest(v, ...rect)]);
  return { ok: seen.every(([, kind, b]) => (kind === 'lit' ? b > 150 : b < 40)),
    seen: `brightest ${seen.map(([name, , b]) => `${name} ${b}`).join(', ')}` };
}
const fallShown = (page) =>
  until('the fall scene once the beats stop', async () => scene(await look(page), FALL), 40000);

// The hero's top edge in units: the first lit row of the left part below the label.
function heroTop(v) {
  for (let y = 10; y < 100; y += 2) if (brightest(v, 0, y, 36, y + 2) > 128) return y;
  return 100;
}

// The distance as shown, compared as pixels, not read: the top left 10 × 8 units.
const distanceCells = (v) => ({ mean: v.mean.filter((_, i) => (i / 3) % CELLS < 5 && i / 3 < 4 * CELLS) });
async function distanceMoves(page, what, act) {
  const before = distanceCells(await look(page));
  await act();
  await until(`${what} to change the distance shown`, async () => {
    const d = difference(distanceCells(await look(page)), before);
    return { ok: d > 0.02, seen: `a difference of ${d.toFixed(3)}` };
  });
}

// --- what the player does ----------------------------------------------------------------

const click = async (page) => { const { x, y } = await centre(page); await page.mouse.click(x, y); };
const tap = async (page) => { const { x, y } = await centre(page); await page.touchscreen.tap(x, y); };

// Several fingers tapping at once: their taps reach the page in one touch event, faster than a
// frame, and each must be a wing beat.
async function beats(page, fingers) {
  const cdp = await page.createCDPSession(), { x, y } = await centre(page);
  const touchPoints = Array.from({ length: fingers }, (_, id) => ({ x: x + 8 * id, y, id }));
  await cdp.send('Input.dispatchTouchEvent', { type: 'touchStart', touchPoints });
  await cdp.send('Input.dispatchTouchEvent', { type: 'touchEnd', touchPoints: [] });
  await cdp.detach();
}

async function playOpening(page, refs, act = click) {
  for (const p of ['open0', 'open1']) { await act(page); await pictureShown(page, refs, p); }
  await act(page);
  await until('a flight (black, the hero, the distance)', async () => scene(await look(page), FLIGHT));
}

// Keeps the hero up with four-finger taps whenever he is low, until `total` beats are sent.
async function flyBeats(page, total) {
  for (let sent = 0; sent < total;) {
    const v = await look(page), flight = scene(v, FLIGHT);
    expect(flight.ok, `the flight to go on after ${sent} beats`, flight.seen);
    if (heroTop(v) > 50) { await beats(page, 4); sent += 4; }
  }
}

async function download(page) {
  const cdp = await page.browser().target().createCDPSession();
  await cdp.send('Browser.setDownloadBehavior',
    { behavior: 'allowAndName', downloadPath: FILES, eventsEnabled: true });
  const begun = new Promise((r) => cdp.on('Browser.downloadWillBegin', r));
  const ended = new Promise((r) => cdp.on('Browser.downloadProgress', (e) => e.state !== 'inProgress' && r(e)));
  await page.click('#save-ranking');
  const [{ suggestedFilename: name, guid }, { state }] =
    await withDeadline(Promise.all([begun, ended]), 'a download of scr.dat');
  expect(state === 'completed' && name === 'scr.dat', 'scr.dat downloaded', `${name}: ${state}`);
  return fs.readFileSync(path.join(FILES, guid));
}

async function loadFile(page, bytes) {
  const file = path.join(FILES, 'scr.dat');
  fs.writeFileSync(file, bytes);
  const [chooser] = await Promise.all([page.waitForFileChooser(), page.click('#load-ranking')]);
  await chooser.accept([file]);
}

async function rankingShown(page) {
  await page.click(menuItem('ランキング'));
  const box = await openDialog(page, 'the ranking', 'message-box');
  await answer(page, box.id, 'OK');
  expect(box.title === TITLE, `the ranking titled ${TITLE}`, box.title);
  return box.lines.join('|');
}

// --- scr.dat: five records of a name in code page 932 (10 bytes) and a little-endian score --

const BLANK = '20 20 20 20 20 20 20 20 20 20';

const scrDat = (...records) => Buffer.from([...records, ...Array(5 - records.length).fill([BLANK, 0])]
  .flatMap(([name, score]) => [...Buffer.from(name.replace(/ /g, ''), 'hex'), score & 255, score >> 8 & 255]));
// The ranking message: an empty line, then places 0 to 4, each name ten characters wide.
const rankingLines = (...entries) => ['', ...[0, 1, 2, 3, 4].map((i) => {
  const [name, score] = entries[i] ?? ['', 0];
  return `${i}・・・${name.padEnd(10)}(${score})`.replace(/ +/g, ' ');
})].join('|');

const NAME = '翼ABC', NAME_CP932 = '97 83 41 42 43 20 20 20 20 20';
const ENDLESS_BEATS = 64, ENDLESS_DISTANCE = 33; // from distance 1, one unit per two beats
const OTHERS = scrDat(['CB DF D9 C8 20 20 20 20 20 20', 120], ['41 42 43 44 45 46 47 48 49 4A', 80],
  ['97 83 20 20 20 20 20 20 20 20', -1]);
const OTHERS_LINES = rankingLines(['ﾋﾟﾙﾈ', 120], ['ABCDEFGHIJ', 80], ['翼', -1]);

// --- the cases ----------------------------------------------------------------------------

async function game(page, refs) {
  await setOption(page, '背景効果', false);
  await playOpening(page, refs);
  const locked = await ariaOf(page, 'menuitemcheckbox', '無限モード', 'aria-disabled');
  expect(locked === 'true', '無限モード with aria-disabled="true" during a flight', locked);
  await distanceMoves(page, 'four fingers tapping at once', () => beats(page, 4));
  await fallShown(page);
  await click(page);
  await pictureShown(page, refs, 'stt');
  expect(!(await page.$('dialog[open]')), 'no ranking entry after a flight of 3', 'a dialog open');

  await setOption(page, '無限モード', true);
  await playOpening(page, refs);
  await flyBeats(page, ENDLESS_BEATS);
  await fallShown(page);
  await click(page);
  const entry = await openDialog(page, `the name box after a flight of ${ENDLESS_DISTANCE}`, 'input-box');
  const prompt = '1位を取りました。|なんて長い距離でしょう、|名前を入れてね！（半角10文字）';
  expect(entry.title === '1位' && entry.lines.join('|') === prompt, `the name box "1位" asking ${prompt}`,
    `"${entry.title}": ${entry.lines.join('|')}`);
  await page.type('#input-box-field', NAME);
  await answer(page, 'input-box', 'OK');
  await pictureShown(page, refs, 'stt');

  await page.reload();
  await pictureShown(page, refs, 'stt');
  const ours = rankingLines([NAME, ENDLESS_DISTANCE]);
  const seen = await rankingShown(page);
  expect(seen === ours, `after a reload the ranking ${ours}`, seen);
  const saved = await download(page), want = scrDat([NAME_CP932, ENDLESS_DISTANCE]);
  expect(saved.equals(want), `scr.dat of 60 bytes ${want.toString('hex')}`,
    `${saved.length} bytes ${saved.toString('hex')}`);

  const loads = [
    { what: 'a ranking, cancelled', bytes: OTHERS, press: 'キャンセル', after: ours },
    { what: 'a ranking, accepted', bytes: OTHERS, press: 'OK', after: OTHERS_LINES },
    { what: 'an empty file', bytes: Buffer.alloc(0), refused: true, after: OTHERS_LINES },
    { what: 'a file far too large', bytes: Buffer.alloc(5000, 0x20), refused: true, after: OTHERS_LINES },
  ];
  for (const l of loads) {
    await loadFile(page, l.bytes);
    const box = await openDialog(page, `a dialog after loading ${l.what}`), text = box.lines.join('|');
    const shows = `"${box.title}" ${text} [${box.buttons}]`;
    if (l.refused) {
      expect(box.buttons.join() === 'OK' && text.trim() && !text.includes('・・・'), `${l.what} refused`,
        shows);
    } else {
      expect(box.title === TITLE && text.includes(OTHERS_LINES.slice(1)) && box.buttons.includes('キャンセル'),
        `${l.what}: its entries shown to confirm`, shows);
    }
    await answer(page, box.id, l.press ?? 'OK');
    const now = await rankingShown(page);
    expect(now === l.after, `after ${l.what} the ranking ${l.after}`, now);
  }
  const back = await download(page);
  expect(back.equals(OTHERS), `the loaded ranking saved as it came: ${OTHERS.toString('hex')}`,
    back.toString('hex'));
}

async function phone(page, refs) {
  const box = await (await page.$('#game-window')).boundingBox();
  const square = Math.abs(box.width - 390) <= 1 && Math.abs(box.height - box.width) <= 1;
  expect(square, 'the window a square 390 wide', `${box.width}×${box.height}`);
  await setOption(page, '背景効果', false, true);
  await playOpening(page, refs, tap);
  await distanceMoves(page, 'two taps', async () => { await tap(page); await tap(page); });
}

// A second tab waits for the first, whose ranking it would overwrite, and starts once it closes.
async function secondTab(page, refs, server) {
  const second = await page.browser().newPage();
  await second.goto(server.url);
  await second.waitForFunction(() => document.querySelector('[role=status]')?.textContent.includes('別のタブ'),
    { polling: 100, timeout: DEADLINE_MS });
  await page.close();
  await second.bringToFront();
  await pictureShown(second, refs, 'stt');
}

async function offline(page, refs, server) {
  const ready = page.evaluate(() => navigator.serviceWorker.ready.then(() => true));
  await withDeadline(ready, 'the service worker ready');
  server.stop();
  await page.setOfflineMode(true);
  await page.reload();
  await pictureShown(page, refs, 'stt');
}

// The music comes in after one music length of silence, as the game times it, though a box
// opened before then is still open: a box holds the flight, not the music's timer. The site's
// music is said to be MUSIC_MS long for this, and each start of its sound is counted.
const MUSIC_MS = 4000;
async function shortMusic(page) {
  const media = fs.readFileSync(path.join(SITE, 'site-media.js'), 'utf8');
  const rate = Number(media.match(/"rate": (\d+)/)[1]);
  const short = media.replace(/"lengthMs": \d+/, `"lengthMs": ${MUSIC_MS}`)
    .replace(/"frames": \d+/, `"frames": ${(rate * MUSIC_MS) / 1000}`);
  await page.setRequestInterception(true);
  page.on('request', (r) => (r.url().endsWith('/site-media.js')
    ? r.respond({ contentType: 'text/javascript', body: short }) : r.continue()));
  await page.evaluateOnNewDocument(() => {
    const start = AudioBufferSourceNode.prototype.start;
    window.musicStarts = 0;
    AudioBufferSourceNode.prototype.start = function (...args) {
      window.musicStarts += 1;
      return start.apply(this, args);
    };
  });
}

async function music(page) {
  await (await page.waitForSelector(menuItem('ランキング'))).click();
  await openDialog(page, 'the ranking box');
  await until(`the music after ${MUSIC_MS} ms, with the ranking box still open`, async () => {
    const [starts, open] = await page.evaluate(() => [window.musicStarts, !!document.querySelector('dialog[open]')]);
    return { ok: starts > 0 && open, seen: `${starts} starts, the box ${open ? 'open' : 'shut'}` };
  });
}

const CASES = { game, phone, offline, 'second-tab': secondTab, music };
const BEFORE_LOAD = { music: shortMusic };
const started = Date.now(), errors = [];
let browser, server, page;
try {
  expect(CASES[CASE] && SITE && CHROMIUM, `arguments ${Object.keys(CASES).join('|')} SITE CHROMIUM`,
    process.argv.slice(2));
  expect(fs.existsSync(path.join(SITE, 'index.html')), `a site at ${SITE}`, 'no index.html');
  [server, browser] = await Promise.all([serve(SITE), launch(CHROMIUM)]);
  page = await browser.newPage();
  page.setDefaultTimeout(DEADLINE_MS);
  page.on('pageerror', (e) => errors.push(e.message));
  const phoneScreen = { width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true };
  await page.setViewport(CASE === 'phone' ? phoneScreen : { width: 800, height: 700, hasTouch: true });
  await BEFORE_LOAD[CASE]?.(page);
  await page.goto(server.url);
  await page.waitForSelector('#client');
  const refs = {};
  for (const p of ['stt', 'open0', 'open1']) refs[p] = await look(page, pictureFile(SITE, p));
  await pictureShown(page, refs, 'stt');
  await CASES[CASE](page, refs, server);
  expect(errors.length === 0, 'no uncaught error in the page', errors.join('; '));
  console.log(`web_${CASE}: passed in ${((Date.now() - started) / 1000).toFixed(1)} s`);
} catch (e) {
  const shot = path.join(OUT, `web-${CASE}-failure.png`);
  await page?.screenshot({ path: shot }).catch(() => {});
  if (!(e instanceof Failure)) console.error(e.stack);
  console.error(`page errors: ${errors.join('; ') || 'none'}; screenshot: ${shot}`);
  console.error(`FAIL web_${CASE}: ${e.message}`);
  process.exitCode = 1;
} finally {
  await browser?.close();
  server?.stop();
  fs.rmSync(FILES, { recursive: true });
}
