// The client area: a canvas as many device pixels large as it is shown, painted by the game's
// painter (pirune_paint) with the primitives below, at most once per display frame and only
// when the game's window changed or the canvas was resized. A frame may first deliver the
// game's tick, whose changes it then paints.

import { layOutText } from './text-layout.js';
import { bitmap } from './pictures.js';

// The desktop opens its window half a screen high; on the usual 1080-line screen that is 540
// pixels, with the label's 13 points at 96 dots per inch. The page's window shows the label's
// text at the same size for its size.
const DESKTOP_WINDOW_SIDE = 540;
const PIXELS_PER_POINT = 96 / 72;

const canvas = document.getElementById('client');
const context = canvas.getContext('2d', { alpha: false });
let game = null;
let frameAsked = false;
let inFrame = false;
let paintWanted = false;
let frameTick = null;
let windowSide = DESKTOP_WINDOW_SIDE;
let painted = null;
// The first frame of the window as the game's start left it: the title.
export const firstFrame = new Promise((resolve) => {
  painted = resolve;
});

export function connect(module) {
  game = module;
  requestFrame();
}

export function setWindowSide(side) {
  windowSide = side;
  requestFrame();
}

export function requestFrame() {
  paintWanted = true;
  askFrame();
}

// tick (or none) runs at the start of the next display frame.
export function tickAtNextFrame(tick) {
  frameTick = tick;
  if (tick) askFrame();
}

function askFrame() {
  if (frameAsked || inFrame) return;
  frameAsked = true;
  requestAnimationFrame(frame);
}

function frame() {
  frameAsked = false;
  inFrame = true;
  const tick = frameTick;
  frameTick = null;
  try {
    tick?.();
    if (paintWanted) {
      paintWanted = false;
      paint();
    }
  } finally {
    inFrame = false;
    if (paintWanted || frameTick) askFrame();
  }
}

function paint() {
  if (!game || canvas.width === 0 || canvas.height === 0) return;
  const pointPixels = PIXELS_PER_POINT * shownRatio * (windowSide / DESKTOP_WINDOW_SIDE);
  if (game._pirune_paint(canvas.width, canvas.height, shownRatio, pointPixels)) painted();
}

// The backing store follows the canvas's size in device pixels exactly, so that every
// picture, shape and letter is drawn crisp at any devicePixelRatio. The browser's own count of
// device pixels is taken where it agrees with the CSS size times the ratio (it knows how the
// edges fall on the screen); an emulated ratio that it does not see gives the product.
let devicePixels = null;
// Device pixels per CSS pixel as the canvas is shown, taken at each resize rather than at each
// frame, which would make the browser check its layout every frame.
let shownRatio = devicePixelRatio;

function measure() {
  const box = canvas.getBoundingClientRect();
  const width = box.width * devicePixelRatio;
  const height = box.height * devicePixelRatio;
  const agrees = (exact, estimate) => Math.abs(exact - estimate) <= 1.5;
  if (devicePixels && agrees(devicePixels[0], width) && agrees(devicePixels[1], height)) {
    resizeTo(devicePixels[0], devicePixels[1]);
  } else {
    resizeTo(width, height);
  }
  shownRatio = box.width > 0 ? canvas.width / box.width : devicePixelRatio;
}

function resizeTo(width, height) {
  width = Math.max(1, Math.round(width));
  height = Math.max(1, Math.round(height));
  if (canvas.width === width && canvas.height === height) return;
  canvas.width = width;
  canvas.height = height;
  requestFrame();
}

function followSize() {
  const observer = new ResizeObserver(([entry]) => {
    const exact = entry.devicePixelContentBoxSize?.[0];
    devicePixels = exact ? [exact.inlineSize, exact.blockSize] : null;
    measure();
  });
  try {
    observer.observe(canvas, { box: 'device-pixel-content-box' });
  } catch {
    observer.observe(canvas);
  }
  // A new ratio (zoom, another screen) with the same CSS size.
  const watchRatio = () => {
    matchMedia(`(resolution: ${devicePixelRatio}dppx)`).addEventListener(
      'change',
      () => {
        measure();
        watchRatio();
      },
      { once: true },
    );
  };
  watchRatio();
}
followSize();

// ---- the painter's primitives, in device pixels -----------------------------------------
const rgb = (r, g, b) => `rgb(${r},${g},${b})`;

export function fillRect(x, y, w, h, r, g, b) {
  context.fillStyle = rgb(r, g, b);
  context.fillRect(x, y, w, h);
}

export function drawPicture(id, x, y, w, h) {
  const picture = bitmap(id);
  if (!picture || w <= 0 || h <= 0) return;
  context.imageSmoothingEnabled = true;
  context.imageSmoothingQuality = 'high';
  context.drawImage(picture, x, y, w, h);
}

// Alignment as the game numbers it: 0 left, 1 right, 2 centre.
export function drawText(text, bx, by, bw, bh, cx, cy, cw, ch, r, g, b, alignment, px) {
  context.save();
  context.beginPath();
  context.rect(cx, cy, cw, ch);
  context.clip();
  const layout = layOutText(context, text, bw, px);
  context.font = layout.font;
  context.fillStyle = rgb(r, g, b);
  context.textBaseline = 'alphabetic';
  let baseline = by + layout.ascent;
  for (const line of layout.lines) {
    const free = bw - line.width;
    const x = alignment === 2 ? bx + free / 2 : alignment === 1 ? bx + free : bx;
    context.fillText(line.text, x, baseline);
    baseline += layout.lineHeight;
    if (baseline - layout.ascent > by + bh) break;
  }
  context.restore();
}
