// The game's pictures as the browser decodes them: the story pictures from the site's files
// (fetched early, so that a page turn rarely waits), the wing frames from the bytes that the
// program carries. The game knows each by a number.

import { decode, sitePicture, title, TITLE_PICTURE } from './first-fetches.js';
import { pictures as siteFiles } from './site-media.js';

const decoded = [];
const byName = new Map();

function track(name, loading) {
  const entry = { state: 'loading', id: -1 };
  entry.ready = loading.then(
    (picture) => {
      entry.id = decoded.push(picture) - 1;
      entry.state = 'ready';
      return entry.id;
    },
    () => {
      entry.state = 'failed';
      return -1;
    },
  );
  byName.set(name, entry);
  return entry;
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

export function whenReady(names) {
  return Promise.all(names.map((name) => byName.get(name)?.ready ?? Promise.resolve(-1)));
}

// -1: no such picture, or not decodable; -2: still on its way.
export function pictureNow(name) {
  fetchPicture(name);
  const entry = byName.get(name);
  if (!entry || entry.state === 'failed') return -1;
  return entry.state === 'ready' ? entry.id : -2;
}

export function pictureWhenReady(name) {
  fetchPicture(name);
  return byName.get(name)?.ready ?? Promise.resolve(-1);
}

export function pictureSize(id) {
  const picture = decoded[id];
  return picture ? [picture.width, picture.height] : [0, 0];
}

export const bitmap = (id) => decoded[id];
