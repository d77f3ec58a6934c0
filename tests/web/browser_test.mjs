// The web page of the game in a real headless Chromium or Firefox, played as a player plays it,
// with the background effect off wherever pixels decide.
// usage: node browser_test.mjs chromium|firefox game|phone|offline|second-tab|music|paint|storage
//          SITE_FOLDER BROWSER_EXECUTABLE
// with PIRUNE_FLIGHT, the native pirune-flight, and MAKE_TEST_FLIGHT, the tool that records a
// flight natively, where it is built.
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { DEADLINE_MS, Failure, answer, ariaOf, brightest, centre, expect, is, launch, look, menuItem, openDialog,
  pictureFile, probe, serve, setOption, showsPicture, textAt, until, untilIs, withDeadline } from './harness.mjs';

const [ENGINE, CASE, SITE, BROWSER] = process.argv.slice(2);
const NAME_OF_TEST = ENGINE === 'firefox' ? `web_firefox_${CASE}` : `web_${CASE}`;
// The browser's downloads, by their names, and the files the player loads.
const FILES = fs.mkdtempSync(path.join(os.tmpdir(), 'pirune-web-'));
const TITLE = 'ピルネノ翼';

// --- what the player sees ------------------------------------------------------------------

const pictureShown = (page, refs, want) =>
  until(`the canvas to show the picture ${want}`, async () => showsPicture(await look(page), refs, want));

// Scenes as rectangles in units, lit (white) or dark. A flight: black but for the distance at
// the top left and the hero at the left. The fall: three lines of text at the top left, where a
// flight shows one short line, over the flight's black.
const FLIGHT = { distance: ['lit', 0, 0, 10, 8], hero: ['lit', 0, 10, 36, 100], right: ['dark', 36, 10, 100, 100] };
const FALL = { 'line 2': ['lit', 20, 4, 40, 9], 'line 3': ['lit', 20, 9, 40, 14], right: ['dark', 50, 20, 100, 100] };
function scene(v, rects) {
  const seen = Object.entries(rects).map(([name, [kind, ...rect]]) => [name, kind, brightest(v, ...rect)]);
  return { ok: seen.every(([, kind, b]) => (kind === 'lit' ? b > 150 : b < 40)),
    seen: `brightest ${seen.map(([name, , b]) => `${name} ${b}`).join(', ')}` };
}

// The distance as the window says it, the text at its top left (10 × 8 units), read rather than
// compared as pixels: a digit more or less in another browser's font is a few pixels, and the
// fall's story lines there would pass for a change. Taps of `fingers` each, two beats a unit.
async function distanceMoves(page, what, ...fingers) {
  const shown = () => textAt(page, 0, 0, 10, 8), before = await shown();
  for (const n of fingers) await beats(page, n);
  await untilIs(`${what} to move the distance shown from "${before}"`, shown, String(Number(before) + fingers.reduce((a, b) => a + b) / 2));
}

// --- what the player does ----------------------------------------------------------------

const click = async (page) => { const { x, y } = await centre(page); await page.mouse.click(x, y); };

// Fingers tapping at once, all down before the first lifts: each must be a wing beat.
async function beats(page, fingers = 1) {
  const { x, y } = await centre(page), down = [];
  for (let id = 0; id < fingers; id++) down.push(await page.touchscreen.touchStart(x + 8 * id, y));
  for (const finger of down) await finger.end();
}

// The background effect off, then through the opening's pictures still to come into a flight, by
// clicks or taps.
async function playOpening(page, refs, touch = false, pages = ['open0', 'open1']) {
  const act = touch ? beats : click;
  await setOption(page, '背景効果', false, touch);
  for (const p of pages) { await act(page); await pictureShown(page, refs, p); }
  await act(page);
  await until('a flight (black, the hero, the distance)', async () => scene(await look(page), FLIGHT));
}

// Keeps the hero up with four-finger taps whenever he is low, until `total` beats are sent; then
// waits for the fall and clicks past it.
async function flyBeats(page, total) {
  for (let sent = 0; sent < total;) {
    const v = await look(page), flight = scene(v, FLIGHT);
    expect(flight.ok, `the flight to go on after ${sent} beats`, flight.seen);
    // The hero low: nothing lit in the upper half of the left part below the label.
    if (brightest(v, 0, 10, 36, 52) <= 128) { await beats(page, 4); sent += 4; }
  }
  await until('the fall scene once the beats stop', async () => scene(await look(page), FALL), 40000);
  await click(page);
}

// The downloaded file, once whole, to be `want`: Firefox saves an empty file at once and its
// bytes in a .part beside it, Chromium a .crdownload, each moved over the file when the
// download ends.
async function downloaded(page, want, what, name = 'scr.dat', save = () => page.click('#save-ranking')) {
  const file = path.join(FILES, name), stem = name.slice(0, name.lastIndexOf('.'));
  await save();
  const bytes = await until(`a download of ${name}`, async () => {
    const names = fs.readdirSync(FILES).filter((n) => n.startsWith(stem) || n.endsWith('download'));
    const done = names.includes(name) && !names.some((n) => /\.(part|crdownload)$/.test(n));
    const size = done ? fs.statSync(file).size : 0;
    return { ok: size > 0, seen: `${names.join(', ') || 'nothing'} (${name} ${size} bytes)`, value: done && fs.readFileSync(file) };
  });
  fs.rmSync(file); // the next download is the same name again, not a "scr(1).dat"
  expect(bytes.equals(want), `${what}: ${name} ${want.toString('hex')}`, `${bytes.length} bytes ${bytes.toString('hex')}`);
}

// A file of FILES with these bytes, by its path.
const fileOf = (name, bytes) => { fs.writeFileSync(path.join(FILES, name), bytes); return path.join(FILES, name); };
// The file chosen in the file box that `act` opens.
const choose = (page, file, act) => Promise.all([page.waitForFileChooser(), act()]).then(([c]) => c.accept([file]));

// A file chosen with scr.dat を読み込む, and the box it opens.
const loaded = (page, bytes, what, press = null) => choose(page, fileOf('chosen.dat', bytes), () => page.click('#load-ranking'))
  .then(() => openDialog(page, `a dialog after loading ${what}`, null, press));

// A command of a drop-down menu.
const menuCommand = async (page, ...captions) => { for (const c of captions) await page.locator(menuItem(c)).click(); };

// The menus come once the title shows.
const openRanking = (page, press = null) => page.locator(menuItem('ランキング')).click()
  .then(() => openDialog(page, 'the ranking box', 'message-box', press));

// A box as "title: line|line|…"; the next message box, answered OK, to say `want` (or pass it).
const said = (box) => `${box.title}: ${box.lines.join('|')}`;
const boxSays = async (page, what, want) => is(said(await openDialog(page, what, 'message-box', 'OK')), want, what);
const rankingIs = async (page, want, when) => is(said(await openRanking(page, 'OK')), `${TITLE}: ${want}`, `${when} the ranking`);

// --- scr.dat: five records of a name in code page 932 (10 bytes) and a little-endian score --

const scrDat = (...records) => Buffer.from([...records, ...Array(5 - records.length).fill(['20'.repeat(10), 0])]
  .flatMap(([name, score]) => [...Buffer.from(name.replace(/ /g, ''), 'hex'), score & 255, score >> 8 & 255]));
// The ranking message: an empty line, then places 0 to 4, each name ten characters wide.
const rankingLines = (...entries) => ['', ...[0, 1, 2, 3, 4].map((i) => {
  const [name, score] = entries[i] ?? ['', 0];
  return `${i}・・・${name.padEnd(10)}(${score})`.replace(/ +/g, ' ');
})].join('|');

// Twelve bytes in code page 932: whole while the visit lasts, its first ten bytes in scr.dat.
const NAME = 'ピルネピルネ', NAME_STORED = 'ピルネピル', NAME_CP932 = '83 73 83 8B 83 6C 83 73 83 8B';
const ENDLESS_BEATS = 64, ENDLESS_DISTANCE = 33; // from distance 1, one unit per two beats
const OTHERS = scrDat(['CB DF D9 C8 20 20 20 20 20 20', 120], ['41 42 43 44 45 46 47 48 49 4A', 80],
  ['97 83 20 20 20 20 20 20 20 20', -1]);
const OTHERS_LINES = rankingLines(['ﾋﾟﾙﾈ', 120], ['ABCDEFGHIJ', 80], ['翼', -1]);
// The same from a copy that keeps bytes of its own after the five records.
const TAILED = Buffer.concat([OTHERS, Buffer.from([0x0d, 0x0a, 0x00, 0xff, 0x83, 0x73])]);

// --- flight records: a record flown again natively, and watched in the window -------------

// The outcome that the native pirune-flight gives a record file.
const flownNatively = (file) => JSON.parse(execFileSync(process.env.PIRUNE_FLIGHT, ['show', file], { encoding: 'utf8' }));

// What the line under the window says at the end of a watched flight with this outcome.
const END_WORDS = { goal: 'ほしにとうちゃく', wings: '翼がなくなった', fall: '落ちた', open: '飛行の途中まで' };

// The line while a flight is watched; null while it is hidden.
const watchingLine = (page) => page.$eval('#watching[role="status"]', (e) => (e.hidden ? null : e.textContent));

// A flight watched to the end that the line says for `outcome`, then left by `leave`: the line
// hidden, the title back.
async function watched(page, refs, what, outcome, leave = () => page.keyboard.press('Escape')) {
  await untilIs(`${what} watched to its end`, () => watchingLine(page), `リプレイ終わり：距離 ${outcome.distance}・${END_WORDS[outcome.end]}`,
    outcome.duration_ms + DEADLINE_MS);
  await leave();
  await untilIs(`${what} left`, () => watchingLine(page), null);
  await pictureShown(page, refs, 'stt');
}

// The last flight's record, as the page keeps it in the browser, flies natively to the distance
// that the page ranked, and the menu saves it as a file of the same bytes. Watched in the window
// from the replay menu, the flight ends at that distance. Then a record made natively by the
// session's bot, a flight to the star and its story, is opened through the menu and watched to
// the end that pirune-flight gives it.
async function replays(page, refs, distance) {
  const kept = Buffer.from(await page.evaluate(() => localStorage.getItem('pirune-flight-last')) ?? '', 'base64');
  const outcome = flownNatively(fileOf('kept.pflight', kept));
  expect(outcome.distance === distance && outcome.end === 'fall' && outcome.ranking?.name.trimEnd() === NAME_STORED,
    `the kept record flown natively to ${distance}, a fall, ranked as ${NAME_STORED}`, JSON.stringify(outcome));
  await downloaded(page, kept, 'the last flight saved', `pirune-${distance}.pflight`,
    () => menuCommand(page, 'リプレイ', '前回の飛行をファイルに保存…'));

  await menuCommand(page, 'リプレイ', '前回の飛行を見る');
  await until('the last flight in the window, and the line saying it is watched', async () => {
    const [line, flight] = [await watchingLine(page), scene(await look(page), FLIGHT)];
    return { ok: line?.startsWith('リプレイ中') && flight.ok, seen: `"${line}", ${flight.seen}` };
  });
  await watched(page, refs, 'the last flight', outcome);

  const maker = process.env.MAKE_TEST_FLIGHT, made = path.join(FILES, 'made'), file = path.join(made, 'goal.pflight');
  expect(fs.existsSync(maker ?? ''), 'make-test-flight, built by the tests preset', maker);
  execFileSync(maker, [made]);
  await choose(page, file, () => menuCommand(page, 'リプレイ', '記録ファイルを開いて見る…'));
  await watched(page, refs, 'the chosen record file', flownNatively(file), () => click(page));
}

// --- the cases ----------------------------------------------------------------------------

// One endless flight past 30, its name entered, kept over a reload, downloaded and replaced by
// loaded files; its record flown natively and watched.
async function game(page, refs) {
  await setOption(page, '無限モード', true);
  await playOpening(page, refs);
  is(await ariaOf(page, 'menuitemcheckbox', '無限モード', 'aria-disabled'), 'true', '無限モード\'s aria-disabled during a flight');
  await distanceMoves(page, 'four fingers tapping at once', 4);
  await flyBeats(page, ENDLESS_BEATS - 4);
  is(said(await openDialog(page, 'the name box', 'input-box')), '1位: 1位を取りました。|なんて長い距離でしょう、|名前を入れてね！（半角10文字）',
    `the name box after a flight of ${ENDLESS_DISTANCE}`);
  await page.type('#input-box-field', NAME);
  await answer(page, 'input-box', 'OK');
  await world(page, refs);
  await rankingIs(page, rankingLines([NAME, ENDLESS_DISTANCE]), 'with the name whole until the page is left,');

  await page.reload();
  await pictureShown(page, refs, 'stt');
  const ours = rankingLines([NAME_STORED, ENDLESS_DISTANCE]);
  await rankingIs(page, ours, 'after a reload');
  await downloaded(page, scrDat([NAME_CP932, ENDLESS_DISTANCE]), 'the ranking saved, 60 bytes');
  await replays(page, refs, ENDLESS_DISTANCE);

  // A file too large is refused by the bytes the page reads of it, not taken in part.
  for (const l of [
    { what: 'a ranking, cancelled', bytes: OTHERS, press: 'キャンセル', after: ours },
    { what: 'a ranking with a tail, accepted', bytes: TAILED, press: 'OK', after: OTHERS_LINES },
    { what: 'a file far too large', bytes: Buffer.alloc(5000, 0x20), refused: true, after: OTHERS_LINES }]) {
    const box = await loaded(page, l.bytes, l.what), text = box.lines.join('|');
    expect(l.refused ? box.buttons.join() === 'OK' && text.trim() && !text.includes('・・・')
      : box.title === TITLE && text.includes(OTHERS_LINES.slice(1)) && box.buttons.includes('キャンセル'),
    `${l.what}: ${l.refused ? 'refused' : 'its entries shown to confirm'}`, `"${box.title}" ${text} [${box.buttons}]`);
    await answer(page, box.id, l.press ?? 'OK');
    await rankingIs(page, l.after, `after ${l.what}`);
  }
  await downloaded(page, TAILED, 'the loaded ranking saved as it came, its tail too');
}

// The named flight sent to the world ranking once the player says yes, placed first, listed
// with its name and distance, and watched from the list to its end.
async function world(page, refs) {
  await boxSays(page, 'the offer to send the named flight', (s) => s.includes('世界ランキングに送') && s.includes(NAME_STORED));
  await boxSays(page, 'the server\'s answer', `${TITLE}: 世界ランキングの 1 位に入りました（距離 ${ENDLESS_DISTANCE}）`);
  await menuCommand(page, '世界ランキング', '世界ランキングを見る');
  const rows = () => page.$$eval('#world-box[open] li', (ls) => ls.map((l) => l.innerText.replace(/\s+/g, ' ').trim()).join('; '));
  await untilIs('the world ranking\'s list', rows, `1位 ${NAME_STORED} 距離 ${ENDLESS_DISTANCE} 見る`);
  await page.click('#world-box li button');
  await watched(page, refs, 'the world\'s flight', { distance: ENDLESS_DISTANCE, end: 'fall', duration_ms: 60000 });
}

// Firefox takes the viewport and its pixel ratio but not the touch emulation (maxTouchPoints stays
// 0, so the page's (pointer: coarse) styles do not apply there); its taps are real touches all
// the same.
// The title shows while the program still loads (held back here), and a tap on it then counts.
async function phone(page, refs) {
  const { width, height } = await (await page.$('#game-window')).boundingBox();
  expect(Math.abs(width - 390) <= 1 && Math.abs(height - width) <= 1, 'the window a square 390 wide', `${width}×${height}`);
  await beats(page);
  releaseProgram();
  await pictureShown(page, refs, 'open0');
  await playOpening(page, refs, true, ['open1']);
  await distanceMoves(page, 'two taps', 1, 1);
}

// A second tab waits for the first, whose ranking it would overwrite, and starts once it closes.
async function secondTab(page, refs, server) {
  const second = await page.browser().newPage();
  await second.goto(server.url);
  await second.waitForSelector('[role=status]::-p-text(別のタブ)', { timeout: DEADLINE_MS });
  await page.close();
  await second.bringToFront();
  await second.waitForSelector(menuItem('ランキング'), { visible: true }); // its game started
}

async function offline(page, refs, server) {
  await withDeadline(page.evaluate(() => navigator.serviceWorker.ready.then(() => true)), 'the service worker');
  server.stop();
  await page.setOfflineMode(true);
  await page.reload();
  await pictureShown(page, refs, 'stt');
}

// The music comes in after one music length of silence, as the game times it, though a box
// opened before then is still open: a box holds the flight, not the music's timer. The site's
// music is said to be MUSIC_MS long for this.
const MUSIC_MS = 4000;
const shortMedia = () => fs.readFileSync(path.join(SITE, 'site-media.js'), 'utf8').replace(/"lengthMs": (\d+),\s*"frames": (\d+)/,
  (_, ms, frames) => `"lengthMs": ${MUSIC_MS}, "frames": ${Math.round((frames * MUSIC_MS) / ms)}`);
let releaseProgram;
const held = new Promise((release) => { releaseProgram = release; }); // the phone's program, until released

// Requests for a file ending so answered by `respond`, the others as they come.
async function route(page, end, respond) {
  await page.setRequestInterception(true);
  page.on('request', (r) => (r.url().endsWith(end) ? respond(r) : r.continue()));
}

async function music(page) {
  await openRanking(page);
  const heard = () => page.evaluate(() => [window.musicStarts > 0, !!document.querySelector('dialog[open]')].join());
  await untilIs(`the music started, the ranking box still open, ${MUSIC_MS} ms on`, heard, 'true,true');
}

// The page paints only what changed. In a flight with the background effect on, each frame
// paints a small part of the canvas; held behind a box, the canvas that those frames left is
// pixel for pixel the window painted whole.
const FRAMES = 90;
async function paint(page, refs) {
  await playOpening(page, refs);
  await setOption(page, '背景効果', true);
  // The share of the canvas, as it is now, that each frame from `from` on painted.
  const shares = (from) => page.$eval('#client', (c, f) => window.framesPainted.slice(f)
    .map((rects) => rects.reduce((sum, [, , w, h]) => sum + w * h, 0) / (c.width * c.height)), from);
  const percent = (share) => `${(share * 100).toFixed(1)} %`;
  const from = await page.evaluate(() => window.framesPainted.length);
  const frames = await until(`${FRAMES} frames of a flight`, async () => {
    const flight = await shares(from);
    return { ok: flight.length >= FRAMES, seen: `${flight.length} frames`, value: flight.sort((a, b) => a - b) };
  }, 40000);
  const most = frames.at(-1);
  console.log(`${NAME_OF_TEST}: ${frames.length} frames painted a median ${percent(frames[frames.length >> 1])}, at most ${percent(most)}`);
  // Four shapes of at most 29 units square, each where it was and where it is, and the hero:
  // three quarters of the canvas at the very most, where a frame painted whole would be all.
  expect(most < 0.8, 'no frame of the flight to paint the canvas whole', percent(most));

  await openRanking(page);
  // No frame painted in the next two.
  const still = () => page.evaluate((before = window.framesPainted.length) => new Promise((done) =>
    requestAnimationFrame(() => requestAnimationFrame(() => done(window.framesPainted.length === before)))));
  await untilIs('the window behind the box standing still', still, true);
  // The canvas as those frames left it, kept in the page; a canvas of another size, then of this
  // one again, is painted whole, and must come out the same.
  await page.$eval('#client', (c) => { window.kept = c.getContext('2d').getImageData(0, 0, c.width, c.height).data; });
  const viewport = page.viewport(), side = () => page.$eval('#client', (c) => c.height), before = await side();
  await page.setViewport({ ...viewport, height: viewport.height - 40 });
  await until('a smaller canvas', async () => ({ ok: (await side()) < before, seen: await side() }));
  await page.setViewport(viewport);
  await until('the canvas painted whole, as the frames had left it', async () => {
    const [[last], differ] = [await shares(-1), await page.$eval('#client', (c) => {
      const now = c.getContext('2d').getImageData(0, 0, c.width, c.height).data, kept = window.kept;
      if (kept.length !== now.length) return `a canvas of ${kept.length / 4} pixels, then ${now.length / 4}`;
      return now.filter((v, i) => i % 4 < 3 && Math.abs(v - kept[i]) > 48).length;
    })];
    return { ok: last >= 1 && differ === 0 && (await still()),
      seen: `${percent(last)} in the last frame, ${differ} colour values differing` };
  });
}

// A stored ranking that cannot be read is said at the start and put aside, not overwritten; a
// save the browser refuses is said once, and the game plays on with the ranking it has.
async function storage(page, refs) {
  await page.evaluate(() => localStorage.setItem('pirune-scr.dat', '%% not base64 %%'));
  await page.reload();
  await boxSays(page, 'a word at the start on the unreadable ranking', (s) => s.includes('読めません'));
  await pictureShown(page, refs, 'stt');
  is(await page.evaluate(() => localStorage.getItem('pirune-scr.dat.unreadable')), '%% not base64 %%', 'the unreadable value kept aside');

  await page.evaluate(() => { window.refuseStorage = true; });
  await loaded(page, OTHERS, 'a ranking, to confirm', 'OK');
  await boxSays(page, 'the refused save said, with the way to keep the file',
    (s) => s.startsWith(`${TITLE}: `) && s.includes('scr.dat を保存'));
  // Loaded again, the next box is the ranking's: the refusal is not said again.
  await loaded(page, OTHERS, 'the ranking again, to confirm', 'OK');
  await rankingIs(page, OTHERS_LINES, 'after two loads refused saving');
}

const CASES = { game, phone, offline, 'second-tab': secondTab, music, paint, storage };
const started = Date.now(), errors = [];
let browser, server, page;
try {
  expect(['chromium', 'firefox'].includes(ENGINE) && CASES[CASE] && fs.existsSync(`${SITE}/index.html`) && BROWSER,
    `arguments chromium|firefox ${Object.keys(CASES).join('|')} SITE BROWSER`, process.argv.slice(2));
  [server, browser] = await Promise.all([serve(SITE, CASE === 'game' && { program: process.env.PIRUNE_SERVER,
    data: path.join(FILES, 'ranking.sqlite') }), launch(BROWSER, ENGINE, { downloads: FILES })]);
  page = await browser.newPage();
  page.setDefaultTimeout(DEADLINE_MS);
  page.on('pageerror', (e) => errors.push(e.message));
  const phoneScreen = { width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true };
  await page.setViewport(CASE === 'phone' ? phoneScreen : { width: 800, height: 700, hasTouch: true });
  await probe(page);
  if (CASE === 'music') await route(page, '/site-media.js', (r) => r.respond({ contentType: 'text/javascript', body: shortMedia() }));
  if (CASE === 'phone') await route(page, '/pirune.wasm', (r) => held.then(() => r.continue()));
  await page.goto(server.url);
  await page.waitForSelector('#client');
  const refs = Object.fromEntries(await Promise.all(['stt', 'open0', 'open1'].map(async (p) => [p, await look(page, pictureFile(SITE, p))])));
  await pictureShown(page, refs, 'stt');
  await CASES[CASE](page, refs, server);
  expect(errors.length === 0, 'no uncaught error in the page', errors.join('; '));
  console.log(`${NAME_OF_TEST}: passed in ${((Date.now() - started) / 1000).toFixed(1)} s`);
} catch (e) {
  const shot = path.join(process.env.OUT_DIR ?? os.tmpdir(), `${NAME_OF_TEST.replace(/_/g, '-')}-failure.png`);
  await page?.screenshot({ path: shot }).catch(() => {});
  if (!(e instanceof Failure)) console.error(e.stack);
  console.error(`page errors: ${errors.join('; ') || 'none'}; screenshot: ${shot}\nFAIL ${NAME_OF_TEST}: ${e.message}`);
  process.exitCode = 1;
} finally {
  await browser?.close();
  server?.stop();
  fs.rmSync(FILES, { recursive: true });
}
