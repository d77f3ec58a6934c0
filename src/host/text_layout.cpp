#include "host/text_layout.h"

#include <algorithm>

namespace pirune {

namespace {

constexpr std::u16string_view kNoLineStart =
    u"、。，．・：；？！ー…‥」』）〕］｝〉》】ぁぃぅぇぉっゃゅょゎァィゥェォッャュョヮヵヶ";
constexpr std::u16string_view kNoLineEnd = u"「『（〔［｛〈《【";

bool isSpace(char16_t c) { return c == u' ' || c == u'\u3000'; }

// Wide characters (kana, kanji, full-width forms) are each a word of their own; half-width
// katakana are not wide.
bool isWide(char16_t c) { return c >= 0x2E80 && !(c >= 0xFF61 && c <= 0xFF9F); }

bool mayBreakBefore(std::u16string_view text, std::size_t i) {
  const char16_t before = text[i - 1];
  const char16_t after = text[i];
  if (isSpace(after)) {
    return false;
  }
  if (isSpace(before)) {
    return true;
  }
  // Never inside a surrogate pair.
  if (after >= 0xDC00 && after <= 0xDFFF) {
    return false;
  }
  if (kNoLineStart.find(after) != std::u16string_view::npos ||
      kNoLineEnd.find(before) != std::u16string_view::npos) {
    return false;
  }
  return isWide(before) || isWide(after);
}

// The paragraph cut into the pieces that a line never splits, unless one alone is too wide.
std::vector<std::u16string_view> piecesOf(std::u16string_view paragraph) {
  std::vector<std::u16string_view> pieces;
  std::size_t start = 0;
  for (std::size_t i = 1; i < paragraph.size(); ++i) {
    if (mayBreakBefore(paragraph, i)) {
      pieces.push_back(paragraph.substr(start, i - start));
      start = i;
    }
  }
  if (!paragraph.empty()) {
    pieces.push_back(paragraph.substr(start));
  }
  return pieces;
}

class Wrapper {
 public:
  Wrapper(double width, double fontPixels, const MeasureText& measure, std::vector<TextLine>& lines)
      : width_(width), fontPixels_(fontPixels), measure_(measure), lines_(lines) {}

  void paragraph(std::u16string_view text) {
    for (const std::u16string_view piece : piecesOf(text)) {
      if (!line_.empty() && widthOf(line_ + std::u16string(piece)) > width_) {
        push();
      }
      if (line_.empty() && widthOf(piece) > width_) {
        // A run too long for the label breaks anywhere, between whole characters.
        for (std::size_t i = 0; i < piece.size();) {
          const std::size_t length = isLeadSurrogate(piece[i]) && i + 1 < piece.size() ? 2 : 1;
          const std::u16string_view character = piece.substr(i, length);
          if (!line_.empty() && widthOf(line_ + std::u16string(character)) > width_) {
            push();
          }
          line_ += character;
          i += length;
        }
        continue;
      }
      line_ += piece;
    }
    push();
  }

 private:
  static bool isLeadSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }

  // Spaces at the end of a line take no room: the line may end in them.
  [[nodiscard]] double widthOf(std::u16string_view text) const {
    while (!text.empty() && isSpace(text.back())) {
      text.remove_suffix(1);
    }
    return text.empty() ? 0 : measure_(text, fontPixels_);
  }

  void push() {
    const double width = widthOf(line_);
    lines_.push_back({std::move(line_), width});
    line_.clear();
  }

  double width_;
  double fontPixels_;
  const MeasureText& measure_;
  std::vector<TextLine>& lines_;
  std::u16string line_;
};

}  // namespace

std::vector<TextLine> breakLines(std::u16string_view text, double width, double fontPixels,
                                 const MeasureText& measure) {
  std::vector<TextLine> lines;
  Wrapper wrapper(width, fontPixels, measure, lines);
  const std::u16string plain = withLineFeeds(text);
  std::u16string_view rest = plain;
  for (std::size_t end = rest.find(u'\n'); end != std::u16string_view::npos;
       end = rest.find(u'\n')) {
    wrapper.paragraph(rest.substr(0, end));
    rest.remove_prefix(end + 1);
  }
  wrapper.paragraph(rest);
  return lines;
}

}  // namespace pirune
