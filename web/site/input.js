// Presses and releases on the client area, as the game's mouse: a pointerdown is the game's
// press (so a quick tap is never lost or merged), a pointerup its release, both at that point
// in units of the 100 × 100 client area. Fingers that overlap are handed to the game one after
// another, each press with its own release, so that every tap is a wing beat.
// Space or Enter on the focused canvas is a left press and release at its centre.

import { deliverInput } from './calls.js';

const canvas = document.getElementById('client');
const UNITS = 100;
const LEFT = 0;

function unitsAt(event) {
  const box = canvas.getBoundingClientRect();
  return {
    x: box.width > 0 ? ((event.clientX - box.left) * UNITS) / box.width : 0,
    y: box.height > 0 ? ((event.clientY - box.top) * UNITS) / box.height : 0,
  };
}

const shiftOf = (event) =>
  (event.shiftKey ? 1 : 0) | (event.ctrlKey ? 2 : 0) | (event.altKey ? 4 : 0);

const press = (button, shift, at) =>
  deliverInput('pirune_press', ['number', 'number', 'number', 'number'], [button, shift, at.x, at.y]);
const release = (button, at) =>
  deliverInput('pirune_release', ['number', 'number', 'number'], [button, at.x, at.y]);

// Pointers down, in the order they went down; the first is the one the game holds.
const held = [];

function settle() {
  while (held.length > 0 && held[0].releasedAt) {
    const done = held.shift();
    release(done.button, done.releasedAt);
    if (held.length > 0) press(held[0].button, held[0].shift, held[0].at);
  }
}

canvas.addEventListener('pointerdown', (event) => {
  if (held.some((p) => p.id === event.pointerId)) return;
  canvas.setPointerCapture?.(event.pointerId);
  const pointer = { id: event.pointerId, button: event.button, shift: shiftOf(event), at: unitsAt(event) };
  held.push(pointer);
  if (held.length === 1) press(pointer.button, pointer.shift, pointer.at);
});

function lift(event, at) {
  const pointer = held.find((p) => p.id === event.pointerId && !p.releasedAt);
  if (!pointer) return;
  pointer.releasedAt = at;
  settle();
}

canvas.addEventListener('pointerup', (event) => lift(event, unitsAt(event)));
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
  const centre = { x: UNITS / 2, y: UNITS / 2 };
  press(LEFT, 0, centre);
  release(LEFT, centre);
});
