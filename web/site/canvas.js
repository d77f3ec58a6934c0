// The client area: a canvas as many device pixels large as it is shown. The game plans each
// frame and draws it with the primitives below, inside the rectangles that changed, at most
// once per display frame. A frame may first deliver the game's tick, whose changes it then
// paints.

// The desktop opens its window half a screen high; on the usual 1080-line screen that is 540
// pixels, with the label's 13 points at 96 dots per inch. The page's window shows the label's
// text at the same size for its size.
const DESKTOP_WINDOW_SIDE = 540;
const PIXELS_PER_POINT = 96 / 72;
const FONT_FAMILY =
  '"IPAGothic", "IPAPGothic", "Noto Sans CJK JP", "VL Gothic", "Hiragino Kaku Gothic ProN", ' +
  '"Hiragino Sans", "Yu Gothic", Meiryo, sans-serif';

const canvas = document.getElementById('client');
const context = canvas.getContext('2d', { alpha: false });
let frameAsked = false;
let inFrame = false;
let paintWanted = false;
let frameTick = null;
let windowSide = DESKTOP_WINDOW_SIDE;
let painted = [];
// The title shown before the game's first frame, drawn again at a new size until then.
let titleBeforeGame = null;
// The game once started (calls.js connects it).
let game = null;

export function connect(module) {
  game = module;
}

// Resolves once a frame has been painted after this call.
export const nextPaint = () => new Promise((resolve) => painted.push(resolve));

export function setWindowSide(side) {
  windowSide = side;
  resized();
}

export function requestFrame() {
  paintWanted = true;
  askFrame();
}

// The game's tick for the next display frame (calls.js), or null for none.
export function setFrameTick(tick) {
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
    if (tick) tick();
    if (paintWanted) {
      paintWanted = false;
      if (game) {
        game._pirune_paint();
        titleBeforeGame = null;
      }
      painted.splice(0).forEach((resolve) => resolve());
    }
  } finally {
    inFrame = false;
    if (paintWanted || frameTick) askFrame();
  }
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
  const exact = devicePixels?.every((n, i) => Math.abs(n - [width, height][i]) <= 1.5);
  const [w, h] = (exact ? devicePixels : [width, height]).map((n) => Math.max(1, Math.round(n)));
  // Setting a size clears the canvas, even the same size.
  if (canvas.width !== w) canvas.width = w;
  if (canvas.height !== h) canvas.height = h;
  shownRatio = box.width > 0 ? canvas.width / box.width : devicePixelRatio;
  if (titleBeforeGame) context.drawImage(titleBeforeGame, 0, 0, canvas.width, canvas.height);
  resized();
}

// Once the game is there, it paints the title itself.
export function showTitle(picture) {
  if (game) return;
  titleBeforeGame = picture;
  measure();
}

// The game learns the canvas's size (a new size clears the canvas: it paints it all again).
export function resized() {
  const pointPixels = PIXELS_PER_POINT * shownRatio * (windowSide / DESKTOP_WINDOW_SIDE);
  game?._pirune_resize(canvas.width, canvas.height, shownRatio, pointPixels);
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
    const now = matchMedia(`(resolution: ${devicePixelRatio}dppx)`);
    now.addEventListener('change', () => {
      measure();
      watchRatio();
    }, { once: true });
  };
  watchRatio();
}
followSize();

// ---- the primitives, in device pixels -----------------------------------------------------
const rgb = (r, g, b) => `rgb(${r},${g},${b})`;
const font = (px) => `${px}px ${FONT_FAMILY}`;

export function beginPaint(rects) {
  context.save();
  context.beginPath();
  for (let i = 0; i < rects.length; i += 4) context.rect(rects[i], rects[i + 1], rects[i + 2], rects[i + 3]);
  context.clip();
  // Pictures scaled smoothly, as the desktop's painter does (bilinear). The finer 'high' looks
  // the same at these scales but, where the browser draws on the CPU, costs about a third more
  // of the page's time in a flight with frequent wing beats.
  context.imageSmoothingEnabled = true;
  context.imageSmoothingQuality = 'medium';
}

export function endPaint() {
  context.restore();
}

export function fillRect(x, y, w, h, r, g, b) {
  context.fillStyle = rgb(r, g, b);
  context.fillRect(x, y, w, h);
}

export function drawPicture(picture, x, y, w, h) {
  if (picture && w > 0 && h > 0) context.drawImage(picture, x, y, w, h);
}

// A line of text, the top of its line box at (x, top), clipped to its label.
export function drawText(text, x, top, px, r, g, b, cx, cy, cw, ch) {
  context.save();
  context.beginPath();
  context.rect(cx, cy, cw, ch);
  context.clip();
  context.font = font(px);
  context.fillStyle = rgb(r, g, b);
  context.fillText(text, x, top + metrics(px).ascent);
  context.restore();
}

const known = new Map();
function metrics(px) {
  let m = known.get(px);
  if (!m) {
    context.font = font(px);
    const shape = context.measureText('あ');
    const ascent = shape.fontBoundingBoxAscent ?? px * 0.88;
    m = { ascent, height: ascent + (shape.fontBoundingBoxDescent ?? px * 0.12) };
    known.set(px, m);
  }
  return m;
}

export function textWidth(text, px) {
  context.font = font(px);
  return context.measureText(text).width;
}

export const lineHeight = (px) => metrics(px).height;
