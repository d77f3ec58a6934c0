// The window is the largest square, menu bar included, that fits the viewport together with the
// ranking buttons, on a computer or a phone, upright or sideways. The buttons go below it or
// beside it, whichever leaves the larger window, and never over it; the window and its buttons
// sit in the middle of the viewport.

const root = document.documentElement;
const gameWindow = document.getElementById('game-window');
const buttons = document.getElementById('ranking-buttons');
// The buttons in a row below the window, or in a column beside it (style.css keeps each
// button on one line, so these hold for their captions).
const ROW_HIGH = 48;
const COLUMN_WIDE = 170;

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
  const sideBelow = Math.min(width, height - ROW_HIGH);
  const sideBeside = Math.min(height, width - COLUMN_WIDE);
  const below = sideBelow >= sideBeside;
  side = Math.max(1, Math.floor(below ? sideBelow : sideBeside));
  root.style.setProperty('--side', `${side}px`);
  if (below) {
    const left = Math.floor((width - side) / 2);
    const top = Math.max(0, Math.floor((height - side - ROW_HIGH) / 2));
    place(gameWindow, left, top, null, null);
    place(buttons, left, top + side, side, ROW_HIGH);
  } else {
    const left = Math.max(0, Math.floor((width - side - COLUMN_WIDE) / 2));
    const top = Math.floor((height - side) / 2);
    place(gameWindow, left, top, null, null);
    place(buttons, left + side, top, COLUMN_WIDE, side);
  }
  buttons.dataset.place = below ? 'below' : 'beside';
  onResize(side);
}

window.addEventListener('resize', layOut);
window.visualViewport?.addEventListener('resize', layOut);
