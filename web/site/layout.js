// The window is the largest square, menu bar included, that fits the viewport, on a computer
// or a phone, upright or sideways. The ranking buttons go below it where the viewport leaves
// room there, else beside it, else over its lower right corner.

const root = document.documentElement;
const gameWindow = document.getElementById('game-window');
const buttons = document.getElementById('ranking-buttons');
const BUTTONS_HIGH = 48;
const BUTTONS_WIDE = 150;

let side = 0;
let onResize = () => {};

export const windowSide = () => side;

export function onWindowResize(handler) {
  onResize = handler;
}

function place(element, left, top, width, height) {
  Object.assign(element.style, {
    left: `${left}px`,
    top: `${top}px`,
    width: width === null ? '' : `${width}px`,
    height: height === null ? '' : `${height}px`,
  });
}

export function layOut() {
  const width = root.clientWidth;
  const height = root.clientHeight;
  side = Math.max(1, Math.floor(Math.min(width, height)));
  root.style.setProperty('--side', `${side}px`);
  const below = height - side;
  const beside = width - side;
  if (below >= BUTTONS_HIGH) {
    const top = Math.floor((below - BUTTONS_HIGH) / 2);
    place(gameWindow, Math.floor(beside / 2), top, null, null);
    place(buttons, 0, top + side, width, BUTTONS_HIGH);
    buttons.dataset.place = 'below';
  } else if (beside >= BUTTONS_WIDE) {
    const room = Math.min(beside, BUTTONS_WIDE + 60);
    const left = Math.floor((beside - room) / 2);
    place(gameWindow, left, 0, null, null);
    place(buttons, left + side, 0, room, side);
    buttons.dataset.place = 'beside';
  } else {
    place(gameWindow, Math.floor(beside / 2), Math.floor(below / 2), null, null);
    place(buttons, Math.floor(beside / 2), Math.floor(below / 2), side, side);
    buttons.dataset.place = 'over';
  }
  onResize(side);
}

window.addEventListener('resize', layOut);
window.visualViewport?.addEventListener('resize', layOut);
