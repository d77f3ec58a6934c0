// scr.dat in the browser: its bytes kept in localStorage (base64), handed to the game when it
// starts and stored by the game whenever its ranking changes; and the two buttons under the
// window that let the player keep the file or bring one. The game's own code reads and writes
// the records; the page keeps bytes.

import { deliver } from './calls.js';
import { download, fromBase64, toBase64, whenChosen } from './files.js';

const KEY = 'pirune-scr.dat';
// The game refuses anything larger: one byte more is enough to know.
const LARGEST = 4096;

// Where a stored value that cannot be read is put aside, never to be overwritten by a save.
const UNREADABLE = `${KEY}.unreadable`;

// The bytes as last stored, or as read: the file the player takes, even where storage is barred.
let kept = null;
let unreadable = false;
let refusalSaid = false;

// scr.dat's bytes as stored, or none. Storage that is barred altogether is said at the first
// save that fails.
export function stored() {
  let text = null;
  try {
    text = localStorage.getItem(KEY);
  } catch {
    return null;
  }
  if (text === null) return null;
  try {
    kept = fromBase64(text);
  } catch {
    unreadable = true;
    try {
      if (localStorage.getItem(UNREADABLE) === null) localStorage.setItem(UNREADABLE, text);
      localStorage.removeItem(KEY);
    } catch {
      // Kept where it is: the saves that follow will say they failed.
    }
  }
  return kept;
}

// The stored ranking could not be read, and the game starts with an empty one.
export const wasUnreadable = () => unreadable;

// The game's records in place of the stored ones; whatever the file holds after them stays.
export function store(records) {
  const bytes = new Uint8Array(Math.max(records.length, kept?.length ?? 0));
  if (kept) bytes.set(kept);
  bytes.set(records);
  keep(bytes);
}

// A scr.dat the player brought, kept as it came, with whatever it holds after its records.
export const replace = (file) => keep(file);

function keep(bytes) {
  kept = bytes;
  try {
    localStorage.setItem(KEY, toBase64(bytes));
  } catch {
    // Storage barred or full: the ranking lives as long as the page, and the player hears so
    // once, after the call that stored it.
    if (!refusalSaid) {
      refusalSaid = true;
      deliver('pirune_storage_refused');
    }
  }
}

const saveButton = document.getElementById('save-ranking');
const loadButton = document.getElementById('load-ranking');
const fileInput = document.getElementById('load-ranking-file');

// The ranking as it stands, entries of this visit included.
saveButton.addEventListener('click',
  () => deliver('pirune_keep_ranking').then(() => download('scr.dat', kept ?? new Uint8Array(0))));
loadButton.addEventListener('click', () => fileInput.click());
whenChosen(fileInput, () => LARGEST + 1,
  (bytes) => deliver('pirune_offer_ranking', ['array', 'number'], [bytes, bytes.length]));

export function showButtons() {
  document.getElementById('ranking-buttons').hidden = false;
}

export function disableLoading() {
  loadButton.disabled = true;
}
