// Calls into the game, one at a time, as the desktop delivers its events: each is awaited to
// its end before the next is made. A call may wait inside the game (a box, a picture still on
// its way); events that come meanwhile wait for it, except while a box is open, when the page
// delivers no clicks, as a modal box on the desktop lets none through. The game's timer then
// wakes the game inside the box instead, where the timers that a box does not hold (the
// music's loop) tick on.

import * as canvas from './canvas.js';

let game = null;
let ended = false;
let last = Promise.resolve();
let boxesOpen = 0;
let boxAnswer = null;
let tickInBox = false;
let wakeBox = null;
let onEnd = () => {};
const TIMER_DUE = -2;

export const connect = (module) => {
  game = module;
  canvas.connect(module);
};
export const instance = () => game;

// A call of an exported function of the game: name, argument types, arguments.
export function deliver(name, types = [], args = []) {
  if (!game || ended) return last;
  last = last
    .then(() => (ended ? null : game.ccall(name, null, types, args, { async: true })))
    .catch((error) => reportLost(error));
  return last;
}

// Clicks and keys on the title that shows while the game still loads, for the game once started.
let beforeStart = [];

// A click or a key for the game: none while a box is open.
export function deliverInput(name, types, args) {
  if (beforeStart) beforeStart.push([name, types, args]);
  else if (boxesOpen === 0) deliver(name, types, args);
}

// The game has started: what the player did on its title meanwhile reaches it now, unless the
// tab waited for another to close, long after.
export function started(keepInputs) {
  const waiting = beforeStart;
  beforeStart = null;
  if (keepInputs) waiting.forEach((input) => deliver(...input));
}

// What escaped the game's own error box: the program itself failed (out of memory, say).
function reportLost(error) {
  end();
  console.error(error);
}

// ---- the game's timer -------------------------------------------------------------------
// The game says when it wants to be woken, and takes the ticks due by then itself. Within a
// frame (the background effect's tick comes every frame) that is the next display frame, just
// before it paints: one wake-up a frame for both, rather than a timer's task and then a frame.
// Later, a page timer.
const FRAME_MS = 17;
let timer = null;

function tick() {
  if (!game || ended) return;
  if (boxesOpen > 0) {
    tickInBox = true;
    if (wakeBox) wakeBox();
  } else {
    deliver('pirune_tick');
  }
}

export function armTimer(delay) {
  clearTimeout(timer);
  timer = null;
  canvas.setFrameTick(null);
  if (delay < 0) return;
  if (delay <= FRAME_MS) canvas.setFrameTick(tick);
  else timer = setTimeout(tick, delay);
}

// ---- the boxes --------------------------------------------------------------------------
// The game opened a box whose answer comes with `answer`.
export function openBox(answer) {
  boxesOpen += 1;
  boxAnswer = answer.finally(() => {
    boxesOpen -= 1;
  });
}

// What the game waiting in its box learns next: the box's answer, or TIMER_DUE.
export async function boxEvent() {
  if (!tickInBox) await Promise.race([boxAnswer, new Promise((wake) => (wakeBox = wake))]);
  wakeBox = null;
  if (!tickInBox) return boxAnswer;
  tickInBox = false;
  return TIMER_DUE;
}

// ---- the end ------------------------------------------------------------------------------
// A run-time error ended the game: no more calls, no more ticks.
export function whenEnded(handler) {
  onEnd = handler;
}

export function end() {
  if (ended) return;
  ended = true;
  armTimer(-1);
  onEnd();
}
