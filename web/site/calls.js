// Calls into the game, one at a time, as the desktop delivers its events: each runs to its end
// before the next is made. A call may wait inside the game (a box, a picture still on its way);
// events that come meanwhile wait for it, except while a box is open, when the page delivers
// no clicks, as a modal box on the desktop lets none through. A tick then wakes the game inside
// the box instead, where the timers that a box does not hold (the music's loop) tick on.

let core = null;
let busy = false;
let boxesOpen = 0;
let ended = false;
const waiting = [];
let boxAnswer = null;
let tickInBox = false;
let wakeBox = null;
const TIMER_DUE = -2;

export function connect(module) {
  core = module;
  pump();
}

function pump() {
  while (core && !busy && !ended && waiting.length > 0) {
    busy = true;
    waiting.shift()(core);
  }
}

// A call for the game, made when every earlier call has ended.
export function deliver(call) {
  if (ended) return;
  waiting.push(call);
  pump();
}

// A click or a key for the game: none while a box is open.
export function deliverInput(call) {
  if (boxesOpen > 0) return;
  deliver(call);
}

// The game's timer fell due, or falls due within lead milliseconds. While a call waits, its end
// re-arms the timer.
export function deliverTick(lead = 0) {
  if (!core || ended) return;
  if (boxesOpen > 0) {
    tickInBox = true;
    wakeBox?.();
  } else if (!busy) {
    deliver((c) => c._pirune_tick(lead));
  }
}

// The game opened a box whose answer (a number) comes with `answer`.
export function awaitBox(answer) {
  boxAnswer = answer;
}

// What the game waiting in its box learns next: the box's answer, or TIMER_DUE.
export async function boxEvent() {
  if (!tickInBox) await Promise.race([boxAnswer, new Promise((wake) => (wakeBox = wake))]);
  wakeBox = null;
  if (!tickInBox) return boxAnswer;
  tickInBox = false;
  return TIMER_DUE;
}

// The game said that the call has ended (page.callFinished). Within a call that waited, the
// game is still on the stack here: the next call is made once it has returned.
export function finished() {
  busy = false;
  if (waiting.length > 0) queueMicrotask(pump);
}

export function boxOpened() {
  boxesOpen += 1;
}

export function boxClosed() {
  boxesOpen = Math.max(0, boxesOpen - 1);
}

export function end() {
  ended = true;
  waiting.length = 0;
}

export const hasEnded = () => ended;
export const game = () => core;
