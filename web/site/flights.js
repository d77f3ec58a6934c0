// The flight records on the page: the game's records kept in the browser's storage (base64, one
// key a slot: "last", "1" to "5"), a record file the player chooses to watch, a record saved as
// a file, and the line that says how the watched flight goes.

import { deliver } from './calls.js';
import { fromBase64, toBase64, whenChosen } from './files.js';

const key = (slot) => `pirune-flight-${slot}`;

// The record that load() read, until the game takes it.
let held = null;

// The length of the record kept under `slot`, or -1 when none can be read.
export function load(slot) {
  held = null;
  try {
    const text = localStorage.getItem(key(slot));
    if (text !== null) held = fromBase64(text);
  } catch {
    // Storage barred, or a value that is no base64: no record.
  }
  return held ? held.length : -1;
}

export function take() {
  const bytes = held;
  held = null;
  return bytes;
}

// Storage full or barred: the record is not kept, and an older one under its slot is not
// offered in its place. The game plays on either way.
export function store(slot, bytes) {
  try {
    localStorage.setItem(key(slot), toBase64(bytes));
  } catch {
    try {
      localStorage.removeItem(key(slot));
    } catch {
      // Barred altogether: nothing was kept.
    }
  }
}

const fileInput = document.getElementById('flight-file');
let largest = 0;
whenChosen(fileInput, () => largest,
  (bytes) => deliver('pirune_watch', ['array', 'number'], [bytes, bytes.length]));

export function choose(limit) {
  largest = limit;
  fileInput.click();
}

const status = document.getElementById('watching');

// What the watched flight's line says, or null when no flight is watched.
export function showWatching(text) {
  status.textContent = text ?? '';
  status.hidden = text === null;
}
