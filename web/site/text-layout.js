// The label's text laid out as the desktop lays it out: lines broken at CR LF, long lines
// wrapped at a word boundary, or anywhere where a run is too long for the label; Japanese
// breaks between any two characters, but never before a closing mark or a small kana.

export const FONT_FAMILY =
  '"IPAGothic", "IPAPGothic", "Noto Sans CJK JP", "VL Gothic", "Hiragino Kaku Gothic ProN", ' +
  '"Hiragino Sans", "Yu Gothic", Meiryo, sans-serif';

const NO_LINE_START = new Set('、。，．・：；？！ー…‥」』）〕］｝〉》】ぁぃぅぇぉっゃゅょゎァィゥェォッャュョヮヵヶ');
const NO_LINE_END = new Set('「『（〔［｛〈《【');
const SPACE = /[ \u3000]/;

function isWide(ch) {
  const code = ch.codePointAt(0);
  return code >= 0x2e80 && !(code >= 0xff61 && code <= 0xff9f);
}

// Where a line may break: before index i of `text`.
function mayBreakBefore(text, i) {
  const before = text[i - 1];
  const after = text[i];
  if (SPACE.test(after)) return false;
  if (SPACE.test(before)) return true;
  if (NO_LINE_START.has(after) || NO_LINE_END.has(before)) return false;
  return isWide(before) || isWide(after);
}

// The paragraph cut into pieces that a line never splits (unless one alone is too wide).
function pieces(paragraph) {
  const out = [];
  let start = 0;
  for (let i = 1; i < paragraph.length; i += 1) {
    if (mayBreakBefore(paragraph, i)) {
      out.push(paragraph.slice(start, i));
      start = i;
    }
  }
  if (paragraph.length > 0) out.push(paragraph.slice(start));
  return out;
}

const widthOf = (context, text) => context.measureText(text.replace(/[ \u3000]+$/, '')).width;

function wrap(context, paragraph, width) {
  const lines = [];
  let line = '';
  const push = (text) => lines.push({ text, width: widthOf(context, text) });
  for (const piece of pieces(paragraph)) {
    if (line !== '' && widthOf(context, line + piece) > width) {
      push(line);
      line = '';
    }
    if (line === '' && widthOf(context, piece) > width) {
      // A run too long for the label breaks anywhere.
      for (const ch of piece) {
        if (line !== '' && widthOf(context, line + ch) > width) {
          push(line);
          line = '';
        }
        line += ch;
      }
      continue;
    }
    line += piece;
  }
  push(line);
  return lines;
}

const kept = new Map();
const KEEP = 16;

export function layOutText(context, text, width, px) {
  const font = `${px}px ${FONT_FAMILY}`;
  const key = `${font}|${width}|${text}`;
  const known = kept.get(key);
  if (known) return known;
  context.font = font;
  const metrics = context.measureText('あ');
  const ascent = metrics.fontBoundingBoxAscent ?? px * 0.88;
  const descent = metrics.fontBoundingBoxDescent ?? px * 0.12;
  const lines = text.split(/\r\n|\r|\n/).flatMap((paragraph) => wrap(context, paragraph, width));
  const layout = { font, ascent, lineHeight: ascent + descent, lines };
  if (kept.size >= KEEP) kept.delete(kept.keys().next().value);
  kept.set(key, layout);
  return layout;
}
