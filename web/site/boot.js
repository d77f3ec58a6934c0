// ピルネノ翼 in the browser: the page's half of the program, handed to the compiled game as
// Module.page, and the start. The title picture and the program come first (first-fetches.js);
// the other pictures, the music and the offline copy only once the title is shown.

import createPirune from './pirune.js';
import * as calls from './calls.js';
import * as canvas from './canvas.js';
import * as dialogs from './dialogs.js';
import * as layout from './layout.js';
import * as menus from './menus.js';
import * as music from './music.js';
import * as pictures from './pictures.js';
import * as ranking from './ranking.js';
import { registerServiceWorker } from './offline.js';
import './input.js';
import { program, rankingHeld, TITLE_PICTURE } from './first-fetches.js';

const utf16 = new TextDecoder('utf-16le');

// A tick due within about a frame (the background effect's, every frame) is taken by the next
// display frame, just before it paints: one wake-up a frame for both, rather than a timer's task
// and then a frame. It may come up to half a frame early. Later ticks wait on a page timer.
const FRAME_MS = 17;
const HALF_FRAME_MS = 8;
const tickInFrame = () => calls.deliverTick(HALF_FRAME_MS);
let timer = null;

function armTimer(delay) {
  clearTimeout(timer);
  timer = null;
  canvas.tickAtNextFrame(null);
  if (delay < 0) return;
  if (delay <= FRAME_MS) canvas.tickAtNextFrame(tickInFrame);
  else timer = setTimeout(calls.deliverTick, delay);
}

function gameEnded() {
  calls.end();
  armTimer(-1);
  menus.disableAll();
  ranking.disableLoading();
  music.stop();
}

const page = {
  callFinished: calls.finished,
  armTimer,
  requestFrame: canvas.requestFrame,
  gameEnded,
  text16: (bytes) => utf16.decode(bytes),
  fillRect: canvas.fillRect,
  drawPicture: canvas.drawPicture,
  drawText: canvas.drawText,
  offerPicture: pictures.offerPicture,
  pictureNow: pictures.pictureNow,
  pictureWhenReady: pictures.pictureWhenReady,
  pictureSize: pictures.pictureSize,
  messageBox: dialogs.showMessage,
  inputBox: dialogs.askText,
  confirmBox: dialogs.askConfirmation,
  awaitBox: calls.awaitBox,
  boxEvent: calls.boxEvent,
  addMenuItem: menus.addMenuItem,
  showMenuItem: menus.showMenuItem,
  musicOpen: music.open,
  musicRewind: music.rewind,
  musicPlay: music.play,
  musicStop: music.stop,
  musicClose: music.close,
  storedRanking: ranking.storedRanking,
  storeRanking: ranking.storeRanking,
  chosenRanking: ranking.chosenRanking,
  downloadRanking: ranking.downloadRanking,
  screenHeight: () => Math.round(screen.height),
  windowSide: layout.windowSide,
};

// The game made from the program that first-fetches.js compiled while the page loaded.
function createGame() {
  let failed = null;
  const failure = new Promise((_, reject) => {
    failed = reject;
  });
  const instantiateWasm = (imports, receive) => {
    program
      .then((module) => WebAssembly.instantiate(module, imports).then((i) => receive(i, module)))
      .catch(failed);
    return {};
  };
  return Promise.race([createPirune({ page, instantiateWasm }), failure]);
}

// A ranking entered in this visit survives a closed tab or a page the browser drops.
function keepRanking() {
  calls.game()?._pirune_keep_ranking();
}

// One game per browser, as one per ranking on the desktop: the ranking lives in this browser's
// storage, and a second tab saving its own copy would overwrite the first one's entries. A later
// tab says so and waits; it starts, with the ranking as the first left it, once that one closes.
async function holdTheRanking() {
  if (await rankingHeld) return;
  const note = document.createElement('p');
  note.className = 'waiting';
  note.setAttribute('role', 'status');
  note.textContent = 'ピルネノ翼は別のタブで遊ばれています。そのタブを閉じると、ここで始まります。';
  document.body.append(note);
  await new Promise((granted) => {
    navigator.locks.request('pirune-ranking', () => {
      granted();
      return new Promise(() => {}); // held until the tab closes
    });
  });
  note.remove();
}

// The program made ready, with the pictures it carries decoded, while the ranking is awaited.
async function createReadyGame() {
  const game = await createGame();
  game._pirune_offer_carried_pictures();
  await pictures.whenReady(['wing frame 1', 'wing frame 2']);
  return game;
}

async function start() {
  layout.onWindowResize(canvas.setWindowSide);
  layout.layOut();
  pictures.fetchPicture(TITLE_PICTURE);
  for (const type of ['pointerdown', 'pointerup', 'keydown', 'touchend']) {
    document.addEventListener(type, music.unlock, { capture: true, passive: true });
  }
  const ready = createReadyGame();
  ready.catch(() => {}); // reported below, once this tab holds the ranking
  await holdTheRanking();
  let game;
  try {
    game = await ready;
  } catch (error) {
    await dialogs.showMessage('ピルネノ翼', `ゲームを読み込めません。\n${error}`);
    return;
  }
  menus.onCommand((id) => calls.deliver((g) => g._pirune_menu(id)));
  addEventListener('pagehide', keepRanking);
  document.addEventListener('visibilitychange', () => {
    if (document.visibilityState === 'hidden') keepRanking();
  });
  canvas.connect(game);
  calls.connect(game);
  calls.deliver((g) => g._pirune_start());
  await canvas.firstFrame;
  pictures.fetchAll();
  music.prefetch();
  registerServiceWorker();
}

start();
