// What the title waits for longest, begun as soon as this module arrives (index.html runs it on
// its own, before the page's other modules are all in): the program compiled, the title picture
// decoded and the ranking held. The site's pictures are fetched and decoded here too.

import { pictures as siteFiles } from './site-media.js';

export const TITLE_PICTURE = 'stt.bmp';

async function fetched(file) {
  const response = await fetch(file);
  if (!response.ok) throw new Error(`${file}: ${response.status}`);
  return response;
}

export async function decode(blob) {
  if (typeof createImageBitmap === 'function') return createImageBitmap(blob);
  const url = URL.createObjectURL(blob);
  try {
    const image = new Image();
    image.src = url;
    await image.decode();
    return image;
  } finally {
    URL.revokeObjectURL(url);
  }
}

// The decoded picture of the game's file `name` ("open0.bmp").
export async function sitePicture(name) {
  return decode(await (await fetched(siteFiles[name])).blob());
}

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

export const program = again(() => compile('pirune.wasm'));
export const title = again(() => sitePicture(TITLE_PICTURE));
// Whoever asks later hears of a failure; until then it is no error of the page's.
program.catch(() => {});
title.catch(() => {});

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
