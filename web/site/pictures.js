// The game's pictures as the browser decodes them: the story pictures from the site's files
// (fetched early, so that a page turn rarely waits), the wing frames from the bytes that the
// program carries. The game knows each by a number.

import { decode, sitePicture, title, TITLE_PICTURE } from './first-fetches.js';
import { pictures as siteFiles } from './site-media.js';

const decoded = [];
const byName = new Map();

// The picture's number once decoded, or -1.
function track(name, loading) {
  const ready = loading.then(
    (picture) => decoded.push(picture) - 1,
    () => -1,
  );
  byName.set(name, ready);
  return ready;
}

// Starts fetching the site's picture for the game's file `name` ("stt.bmp").
export function fetchPicture(name) {
  if (byName.has(name) || !(name in siteFiles)) return;
  track(name, name === TITLE_PICTURE ? title : sitePicture(name));
}

export function fetchAll() {
  Object.keys(siteFiles).forEach(fetchPicture);
}

// A picture that the program carries, as the bytes of a Windows bitmap.
export function offerPicture(name, bytes) {
  track(name, decode(new Blob([bytes], { type: 'image/bmp' })));
}

// The number of the picture called `name` once decoded; -1 for none the page can show.
export function whenDecoded(name) {
  fetchPicture(name);
  return byName.get(name) ?? Promise.resolve(-1);
}

export const bitmap = (id) => decoded[id];
