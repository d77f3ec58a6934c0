// scr.dat in the browser: its bytes kept in localStorage (base64), handed to the game at start
// and after every save; and the two buttons under the window that let the player keep the
// file or bring one. The game's own code reads and writes the file; the page moves bytes.

import { deliver } from './calls.js';

const KEY = 'pirune-scr.dat';
// The game refuses anything larger: one byte more is enough to know.
const LARGEST = 4096;

export function storedRanking() {
  try {
    const text = localStorage.getItem(KEY);
    if (text === null) return null;
    return Uint8Array.from(atob(text), (c) => c.charCodeAt(0));
  } catch {
    return null; // storage barred, or not base64: the game starts with an empty ranking
  }
}

export function storeRanking(bytes) {
  try {
    localStorage.setItem(KEY, btoa(String.fromCharCode(...bytes)));
  } catch {
    // Storage barred or full: the ranking lives as long as the page.
  }
}

let chosen = new Uint8Array(0);
export const chosenRanking = () => chosen;

export function downloadRanking(bytes) {
  const url = URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' }));
  const link = document.createElement('a');
  link.href = url;
  link.download = 'scr.dat';
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(url), 60000);
}

const saveButton = document.getElementById('save-ranking');
const loadButton = document.getElementById('load-ranking');
const fileInput = document.getElementById('load-ranking-file');

saveButton.addEventListener('click', () => deliver((game) => game._pirune_download_ranking()));
loadButton.addEventListener('click', () => fileInput.click());
fileInput.addEventListener('change', async () => {
  const file = fileInput.files?.[0];
  fileInput.value = '';
  if (!file) return;
  const bytes = new Uint8Array(await file.slice(0, LARGEST + 1).arrayBuffer());
  deliver((game) => {
    chosen = bytes;
    game._pirune_offer_ranking();
  });
});

export function disableLoading() {
  loadButton.disabled = true;
}
