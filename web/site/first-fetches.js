// What the title waits for, and nothing more: index.html asks for the title picture with the page
// itself and runs this module first, with only what it takes to show the title on the canvas.
// Once the title shows, the program is fetched and compiled and the rest of the game (boot.js)
// is asked for. The game's pictures are fetched and decoded here too, the story pictures from
// the site's files (early, so that a page turn rarely waits) and the wing frames from the bytes
// that the program carries; the game knows each by a number.

import { pictures as siteFiles } from './site-media.js';
import { layOut } from './layout.js';
import { showTitle } from './canvas.js';

const TITLE_PICTURE = 'stt.bmp';

export async function fetched(file) {
  const response = await fetch(file);
  if (!response.ok) throw new Error(`${file}: ${response.status}`);
  return response;
}

// The decoded picture of the game's file `name` ("open0.bmp").
const sitePicture = async (name) => createImageBitmap(await (await fetched(siteFiles[name])).blob());

// Compiled while it downloads where the server names its type, as streaming needs.
async function compile(file) {
  const response = await fetched(file);
  if (response.headers.get('Content-Type')?.startsWith('application/wasm')) {
    return WebAssembly.compileStreaming(response);
  }
  return WebAssembly.compile(await response.arrayBuffer());
}

// Asked for while the page itself still loads; a request lost then is asked for once more.
const again = (ask) => ask().catch(() => ask());

// The title as the page asked for it; should that fail, fetched once more. Decoded as soon as
// it is in (an image's own decode() waits its turn behind the page's work). The program
// follows it at once: on a slow line its bytes would hold the title back.
async function announcedTitle() {
  const picture = new Image();
  const loaded = new Promise((resolve, reject) => {
    picture.onload = resolve;
    picture.onerror = reject;
  });
  picture.src = siteFiles[TITLE_PICTURE];
  await loaded;
  return createImageBitmap(picture);
}
const title = announcedTitle().catch(() => again(() => sitePicture(TITLE_PICTURE)));
export const program = title.catch(() => {}).then(() => again(() => compile('pirune.wasm')));
// Whoever asks later hears of a failure; until then it is no error of the page's.
program.catch(() => {});

// The window laid out at once (this module runs once the page has been read), for the title
// and the game alike; then the title shown as soon as it is decoded, while the program still
// loads: the game's first frame paints the same picture in the same place. Then the game
// itself, which says what failed.
layOut();
title
  .then(showTitle)
  .catch(() => {})
  .then(() => import('./boot.js'));

// This tab's hold on the ranking (see boot.js), asked for at once too: a browser's first answer
// can take longer than the program. True once held, until the tab closes; false while another
// tab holds it.
export const rankingHeld = new Promise((answer) => {
  if (!navigator.locks) {
    answer(true);
    return;
  }
  navigator.locks.request('pirune-ranking', { ifAvailable: true }, (lock) => {
    answer(lock !== null);
    return lock ? new Promise(() => {}) : undefined;
  });
});

// ---- the pictures by number -----------------------------------------------------------------
const decoded = [];
const byName = new Map();

// The picture's number once decoded, or -1.
function track(name, loading) {
  const ready = loading.then((picture) => decoded.push(picture) - 1, () => -1);
  byName.set(name, ready);
  return ready;
}

// Starts fetching the site's picture for the game's file `name` ("stt.bmp").
export function fetchPicture(name) {
  if (byName.has(name) || !(name in siteFiles)) return;
  track(name, name === TITLE_PICTURE ? title : sitePicture(name));
}
fetchPicture(TITLE_PICTURE);

export function fetchAll() {
  Object.keys(siteFiles).forEach(fetchPicture);
}

// A picture that the program carries, as the bytes of a Windows bitmap.
export function offerPicture(name, bytes) {
  track(name, createImageBitmap(new Blob([bytes], { type: 'image/bmp' })));
}

// The number of the picture called `name` once decoded; -1 for none the page can show.
export function whenDecoded(name) {
  fetchPicture(name);
  return byName.get(name) ?? Promise.resolve(-1);
}

export const bitmap = (id) => decoded[id];
