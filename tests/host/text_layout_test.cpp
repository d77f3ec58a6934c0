// Where a label's text breaks: the same on every shell, given each shell's measure of a run.

#include "host/text_layout.h"

#include <gtest/gtest.h>

#include "support/sized_picture.h"

namespace pirune {
namespace {

std::vector<std::u16string> linesOf(std::u16string_view text, double width) {
  std::vector<std::u16string> lines;
  for (const TextLine& line : breakLines(text, width, 13, testing::tenPixelsEach)) {
    lines.push_back(line.text);
  }
  return lines;
}

TEST(TextLayout, LinesBreakAtLineFeedsAndWrapAsJapaneseDoes) {
  using Lines = std::vector<std::u16string>;
  const struct {
    const char* what;
    std::u16string text;
    double width;
    Lines lines;
  } cases[] = {
      {"CR LF and LF break; empty lines stay", u"あ\r\nい\n\nう", 100, {u"あ", u"い", u"", u"う"}},
      {"wide characters break anywhere", u"あいうえお", 30, {u"あいう", u"えお"}},
      {"not before a closing mark or small kana", u"あいう。っえ", 30, {u"あい", u"う。っ", u"え"}},
      {"never after an opening bracket", u"あい「う", 30, {u"あい", u"「う"}},
      {"words break at spaces, which end the line", u"ab cd ef", 50, {u"ab cd ", u"ef"}},
      {"a word too long breaks anywhere", u"abcdefg", 30, {u"abc", u"def", u"g"}},
      {"a line ending in spaces still fits", u"abc   ", 30, {u"abc   "}},
      {"half-width katakana run together", u"ﾋﾟﾙﾈ ab", 40, {u"ﾋﾟﾙﾈ ", u"ab"}},
      {"a surrogate pair is never split", u"a\U0002000Bb", 20, {u"a", u"\U0002000B", u"b"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(linesOf(c.text, c.width), c.lines) << c.what;
  }
}

TEST(TextLayout, OnlyCrLfBecomesLf) {
  EXPECT_EQ(withLineFeeds(u"a\r\nb\rc\n\r\n"), u"a\nb\rc\n\n");
}

}  // namespace
}  // namespace pirune
