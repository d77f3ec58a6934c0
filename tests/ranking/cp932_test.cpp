// The ranking's own code page 932, as glibc's iconv("CP932") wrote and read every scr.dat before
// (its table is made from iconv): the ways a character is written, a run of bytes read, and the
// ten-byte field.

#include "ranking/cp932.h"

#include <gtest/gtest.h>

namespace pirune::cp932 {
namespace {

TEST(Cp932, KnownNamesWritten) {
  struct Case {
    std::u16string text;
    std::size_t width;
    std::string bytes;
  };
  const Case cases[] = {
      {u"～①", 4, "\x81\x60\x87\x40"},       // U+FF5E and the circled digit, as Windows has them
      {u"¥", 2, "\x5C "},                    // the yen sign is written as backslash's byte
      {u"—‾≒", 6, "\x81\x5C\x7E\x81\xE0 "},  // written only; ≒ by the pair that reads back as it
      {u"A\U000E0041B", 4, "AB  "},          // a language tag is dropped
      {{u'A', char16_t{0xDC00}, u'B'}, 4, "A?B "},  // a lone surrogate
  };
  for (const Case& c : cases) {
    EXPECT_EQ(encodeFixed(c.text, c.width), c.bytes) << c.bytes;
  }
}

TEST(Cp932, KnownBytesRead) {
  struct Case {
    std::string bytes;
    std::u16string text;
  };
  const Case cases[] = {
      {"\x83\x73\x83\x8B\x83\x6C", u"ピルネ"},
      {"\x81\x60\x87\x40\xB1", u"～①ｱ"},
      {"\x5C", u"\\"},              // backslash, never the yen sign
      {"\x87\x90\x81\x5C", u"≒―"},  // NEC's ≒ read too; 81 5C is the horizontal bar
      {"\x85\x81\x40", u"?　"},     // the follower may begin a pair itself
      {"\x80\xA0\xFD\xFF", u"????"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(decode(c.bytes), c.text) << c.bytes;
  }
}

}  // namespace
}  // namespace pirune::cp932
