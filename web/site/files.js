// Bytes in and out of the page, for scr.dat and the flight records alike: as text for the
// browser's storage, as a file the player downloads, and as the first bytes of a file the player
// chooses.

import { element } from './layout.js';

// In pieces: a record of a long flight is more characters than a call takes arguments.
const PIECE = 0x8000;

export function toBase64(bytes) {
  let text = '';
  for (let i = 0; i < bytes.length; i += PIECE) {
    text += String.fromCharCode(...bytes.subarray(i, i + PIECE));
  }
  return btoa(text);
}

// Throws when the text is no base64.
export const fromBase64 = (text) => Uint8Array.from(atob(text), (c) => c.charCodeAt(0));

export function download(name, bytes) {
  const url = URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' }));
  const link = element('a', { href: url, download: name });
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(url), 60000);
}

// `take` gets the first `largest()` bytes of each file the player chooses through `input`: one
// byte more than the game accepts is enough for it to refuse the file.
export function whenChosen(input, largest, take) {
  input.addEventListener('change', async () => {
    const file = input.files?.[0];
    input.value = '';
    if (file) take(new Uint8Array(await file.slice(0, largest()).arrayBuffer()));
  });
}
