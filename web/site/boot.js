// ピルネノ翼 in the browser: the start. The title picture and the program come first
// (first-fetches.js); the other pictures, the music and the offline copy only once the title is
// shown.

import createPirune from './pirune.js';
import * as calls from './calls.js';
import * as canvas from './canvas.js';
import * as dialogs from './dialogs.js';
import * as layout from './layout.js';
import * as menus from './menus.js';
import * as music from './music.js';
import * as pictures from './first-fetches.js';
import * as ranking from './ranking.js';
import './input.js';

// The game made from the program that first-fetches.js compiled while the page loaded.
const createGame = () =>
  new Promise((resolve, reject) => {
    const instantiateWasm = (imports, receive) => {
      pictures.program
        .then((module) => WebAssembly.instantiate(module, imports).then((i) => receive(i, module)))
        .catch(reject);
      return {};
    };
    createPirune({ instantiateWasm }).then(resolve, reject);
  });

// One game per browser, as one per ranking on the desktop: the ranking lives in this browser's
// storage, and a second tab saving its own copy would overwrite the first one's entries. A later
// tab says so and waits; it starts, with the ranking as the first left it, once that one closes.
// True when the tab had to wait.
async function holdTheRanking() {
  if (await pictures.rankingHeld) return false;
  const note = layout.element('p', { className: 'waiting' }, { role: 'status' });
  note.textContent = 'ピルネノ翼は別のタブで遊ばれています。そのタブを閉じると、ここで始まります。';
  document.body.append(note);
  await new Promise((granted) => {
    navigator.locks.request('pirune-ranking', () => {
      granted();
      return new Promise(() => {}); // held until the tab closes
    });
  });
  note.remove();
  return true;
}

// The program made ready, with the pictures it carries decoded, while the ranking is awaited.
async function createReadyGame() {
  const game = await createGame();
  game._pirune_offer_carried_pictures();
  await Promise.all(['wing frame 1', 'wing frame 2'].map(pictures.whenDecoded));
  return game;
}

// A ranking entered in this visit survives a closed tab or a page the browser drops.
const keepRanking = () => calls.instance()?._pirune_keep_ranking();

async function start() {
  for (const type of ['pointerdown', 'pointerup', 'keydown', 'touchend']) {
    document.addEventListener(type, music.unlock, { capture: true, passive: true });
  }
  const ready = createReadyGame();
  ready.catch(() => {}); // reported below, once this tab holds the ranking
  const waited = await holdTheRanking();
  let game;
  try {
    game = await ready;
  } catch (error) {
    await dialogs.open(dialogs.MESSAGE, 'ピルネノ翼', `ゲームを読み込めません。\n${error}`);
    return;
  }
  calls.whenEnded(() => {
    menus.disableAll();
    ranking.disableLoading();
    music.stop();
  });
  addEventListener('pagehide', keepRanking);
  document.addEventListener('visibilitychange', () => {
    if (document.visibilityState === 'hidden') keepRanking();
  });
  const stored = ranking.stored() ?? new Uint8Array(0);
  if (ranking.wasUnreadable()) {
    await dialogs.open(dialogs.MESSAGE, 'ピルネノ翼',
      'このブラウザーに保存されていたランキングを読めません。\n' +
      '新しいランキングで始めます（読めなかったものは消さずに残してあります）。');
  }
  calls.connect(game);
  await calls.deliver('pirune_start', ['array', 'number'], [stored, stored.length]);
  calls.started(!waited);
  ranking.showButtons();
  // The start left the title, which the first frame of the canvas's size paints.
  const shown = canvas.nextPaint();
  canvas.resized();
  await shown;
  pictures.fetchAll();
  music.prefetch();
  // Installable and playable offline: the service worker keeps every file of the site. Without
  // it the game still runs; it only needs the network each time.
  if ('serviceWorker' in navigator && window.isSecureContext) {
    navigator.serviceWorker.register('sw.js').catch(() => {});
  }
}

start();
