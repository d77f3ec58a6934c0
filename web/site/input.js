// Presses and releases on the client area, as the game's mouse: a pointerdown is the game's
// press (so a quick tap is never lost or merged), a pointerup its release, both at that pixel of
// the canvas, in the device pixels that the game is told the canvas has. Fingers that overlap
// are handed to the game one after another, each press with its own release, so that every tap
// is a wing beat. Space or Enter on the focused canvas is a left press and release at its
// centre; Esc anywhere ends the watching of a flight.

import { deliverInput } from './calls.js';
import { closeMenus } from './menus.js';

const canvas = document.getElementById('client');
const LEFT = 0;
const NO_KEYS = [0, 0, 0];

const pixel = (offset, shown, pixels) => (shown > 0 ? Math.floor((offset * pixels) / shown) : 0);

function pixelAt(event) {
  const box = canvas.getBoundingClientRect();
  return {
    x: pixel(event.clientX - box.left, box.width, canvas.width),
    y: pixel(event.clientY - box.top, box.height, canvas.height),
  };
}

// Shift, Ctrl and Alt held, each 0 or 1.
const keysOf = (event) => [event.shiftKey, event.ctrlKey, event.altKey].map(Number);

const press = (button, keys, at) => deliverInput('pirune_press', Array(6).fill('number'),
  [button, ...keys, at.x, at.y]);
const release = (button, at) =>
  deliverInput('pirune_release', ['number', 'number', 'number'], [button, at.x, at.y]);

// Pointers down, in the order they went down; the first is the one the game holds.
const held = [];

function settle() {
  while (held.length > 0 && held[0].releasedAt) {
    const done = held.shift();
    release(done.button, done.releasedAt);
    if (held.length > 0) press(held[0].button, held[0].keys, held[0].at);
  }
}

canvas.addEventListener('pointerdown', (event) => {
  if (held.some((p) => p.id === event.pointerId)) return;
  canvas.setPointerCapture?.(event.pointerId);
  const pointer = { id: event.pointerId, button: event.button, keys: keysOf(event), at: pixelAt(event) };
  held.push(pointer);
  if (held.length === 1) press(pointer.button, pointer.keys, pointer.at);
});

function lift(event, at) {
  const pointer = held.find((p) => p.id === event.pointerId && !p.releasedAt);
  if (!pointer) return;
  pointer.releasedAt = at;
  settle();
}

canvas.addEventListener('pointerup', (event) => lift(event, pixelAt(event)));
// A pointer the browser took away is released nowhere: no click.
canvas.addEventListener('pointercancel', (event) => lift(event, { x: -1, y: -1 }));
canvas.addEventListener('contextmenu', (event) => event.preventDefault());
// The middle button is the game's too, not the browser's scrolling.
canvas.addEventListener('mousedown', (event) => {
  if (event.button === 1) event.preventDefault();
});
canvas.addEventListener('dblclick', (event) => event.preventDefault());

canvas.addEventListener('keydown', (event) => {
  if (event.key !== ' ' && event.key !== 'Enter') return;
  event.preventDefault();
  if (event.repeat) return;
  const centre = { x: Math.floor(canvas.width / 2), y: Math.floor(canvas.height / 2) };
  press(LEFT, NO_KEYS, centre);
  release(LEFT, centre);
});

// Esc shuts an open menu wherever the focus is (a click does not focus a button everywhere),
// before the menu bar sees it; otherwise it is the game's, unless a box takes it.
document.addEventListener('keydown', (event) => {
  if (event.key === 'Escape' && !closeMenus()) deliverInput('pirune_escape');
}, { capture: true });
