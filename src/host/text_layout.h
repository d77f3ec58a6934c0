#pragma once
// Where the game's texts break into lines, decided once for every shell: lines end at CR LF (the
// game's texts) or LF, and a line too long for its label wraps as a Japanese text does, between
// any two wide characters but never before a closing mark or a small kana, at a space between
// words, and anywhere in a run too long for the label. Only a shell knows how wide a run of text
// is in its font, so it measures; the breaks are the same on every shell.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "game/line_feeds.h"

namespace pirune {

// The width of a run of text at a font size, both in the shell's pixels.
using MeasureText = std::function<double(std::u16string_view text, double fontPixels)>;

struct TextLine {
  std::u16string text;
  double width = 0;  // as measured, spaces at its end not counted

  friend bool operator==(const TextLine&, const TextLine&) = default;
};

// `text` broken into the lines that a label `width` pixels wide shows, at `fontPixels`.
[[nodiscard]] std::vector<TextLine> breakLines(std::u16string_view text, double width,
                                               double fontPixels, const MeasureText& measure);

}  // namespace pirune
