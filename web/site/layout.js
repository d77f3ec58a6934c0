// The window is the largest square, menu bar included, that fits the viewport together with the
// ranking buttons, on a computer or a phone, upright or sideways. The buttons go below it or
// beside it, whichever leaves the larger window, and never over it; the window and its buttons
// sit in the middle of the viewport.

import { setWindowSide } from './canvas.js';

const root = document.documentElement;
const gameWindow = document.getElementById('game-window');
const buttons = document.getElementById('ranking-buttons');
// The buttons in a row below the window, or in a column beside it (style.css keeps each
// button on one line, so these hold for their captions).
const ROW_HIGH = 48;
const COLUMN_WIDE = 170;

let side = 0;

export const windowSide = () => side;

// An element of the page with its properties and its attributes set.
export function element(tag, properties, attributes = {}) {
  const made = Object.assign(document.createElement(tag), properties);
  Object.entries(attributes).forEach(([name, value]) => made.setAttribute(name, value));
  return made;
}

const px = (n) => `${n}px`;

export function layOut() {
  const width = root.clientWidth;
  const height = root.clientHeight;
  const sideBelow = Math.min(width, height - ROW_HIGH);
  const sideBeside = Math.min(height, width - COLUMN_WIDE);
  const below = sideBelow >= sideBeside;
  side = Math.max(1, Math.floor(below ? sideBelow : sideBeside));
  root.style.setProperty('--side', px(side));
  const left = Math.max(0, Math.floor((width - side - (below ? 0 : COLUMN_WIDE)) / 2));
  const top = Math.max(0, Math.floor((height - side - (below ? ROW_HIGH : 0)) / 2));
  Object.assign(gameWindow.style, { left: px(left), top: px(top) });
  Object.assign(buttons.style, below
    ? { left: px(left), top: px(top + side), width: px(side), height: px(ROW_HIGH) }
    : { left: px(left + side), top: px(top), width: px(COLUMN_WIDE), height: px(side) });
  buttons.dataset.place = below ? 'below' : 'beside';
  setWindowSide(side);
}

window.addEventListener('resize', layOut);
window.visualViewport?.addEventListener('resize', layOut);
