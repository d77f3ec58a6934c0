// The ranking's own code page 932 against glibc's iconv("CP932"), which wrote every scr.dat
// before: every code unit, every byte and every pair of bytes; characters beyond the code units
// (none of them in code page 932) by the known cases.

#include "ranking/cp932.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <array>
#include <cerrno>
#include <memory>
#include <stdexcept>
#include <type_traits>

namespace pirune::cp932 {
namespace {

// glibc's iconv("CP932"), which wrote and read every scr.dat before: what it knows is the bytes
// of each character, and the text of a run of bytes.
class Iconv {
 public:
  // The bytes of one code unit, or "?" where CP932 has none.
  std::string encode(const std::u16string& character) {
    std::string input;
    for (const char16_t unit : character) {
      input += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    }
    std::array<char, 8> buffer{};
    std::string_view in(input);
    char* out = buffer.data();
    return convert(toCp932_, in, out, buffer.size()) == 0 ? std::string(buffer.data(), out) : "?";
  }

  // One "?" for a byte it cannot read, and on with the next byte.
  std::u16string decode(std::string_view in) {
    std::u16string text;
    while (!in.empty()) {
      std::string buffer(in.size() * 2, '\0');
      char* out = buffer.data();
      const int error = convert(fromCp932_, in, out, buffer.size());
      for (const char* p = buffer.data(); p + 1 < out; p += 2) {
        text.push_back(static_cast<char16_t>(static_cast<unsigned char>(p[0]) |
                                             (static_cast<unsigned char>(p[1]) << 8)));
      }
      if (error != 0 && !in.empty()) {
        text.push_back(u'?');
        in.remove_prefix(1);
      }
    }
    return text;
  }

 private:
  using Converter = std::unique_ptr<std::remove_pointer_t<iconv_t>, decltype(&iconv_close)>;

  static Converter open(const char* to, const char* from) {
    const iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {  // NOLINT(performance-no-int-to-ptr)
      throw std::runtime_error(std::string("no iconv converter from ") + from + " to " + to);
    }
    return {cd, iconv_close};
  }

  // From a fresh state, as each conversion once opened its own converter; 0 or the errno.
  static int convert(const Converter& cd, std::string_view& in, char*& out, std::size_t outSize) {
    iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    const std::size_t result = iconv(cd.get(), &inPtr, &inLeft, &out, &outSize);
    in = in.substr(in.size() - inLeft);
    return result == static_cast<std::size_t>(-1) ? errno : 0;
  }

  Converter toCp932_ = open("CP932", "UTF-16LE");
  Converter fromCp932_ = open("UTF-16LE", "CP932");
};

// A field of `width` bytes: the character's bytes if they fit whole, then spaces.
std::string field(const std::string& bytes, std::size_t width) {
  return bytes.size() > width ? std::string(width, ' ')
                              : bytes + std::string(width - bytes.size(), ' ');
}

TEST(Cp932, WritesEveryCodeUnitAsIconv) {
  Iconv iconv;
  for (int unit = 0; unit <= 0xFFFF; ++unit) {
    const std::u16string text(1, static_cast<char16_t>(unit));
    const std::string bytes = iconv.encode(text);
    for (const std::size_t width : {1U, 2U}) {
      ASSERT_EQ(encodeFixed(text, width), field(bytes, width))
          << "U+" << std::hex << unit << " in " << width;
    }
  }
}

TEST(Cp932, ReadsEveryByteAndEveryPairOfBytesAsIconv) {
  Iconv iconv;
  for (int first = 0; first < 0x100; ++first) {
    const std::string one(1, static_cast<char>(first));
    ASSERT_EQ(decode(one), iconv.decode(one)) << std::hex << first;
    for (int second = 0; second < 0x100; ++second) {
      const std::string two{static_cast<char>(first), static_cast<char>(second)};
      ASSERT_EQ(decode(two), iconv.decode(two)) << std::hex << first << " " << second;
    }
  }
}

TEST(Cp932, KnownNamesWritten) {
  struct Case {
    std::u16string text;
    std::size_t width;
    std::string bytes;
  };
  const Case cases[] = {
      {u"ピルネ", 10, "\x83\x73\x83\x8B\x83\x6C    "},
      {u"～①", 4, "\x81\x60\x87\x40"},      // U+FF5E and the circled digit, as Windows has them
      {u"¥", 2, "\x5C "},                   // the yen sign is written as backslash's byte
      {u"ABCDEFGHIアB", 10, "ABCDEFGHI "},  // the double byte would need byte 11
      {u"Aé\U0001F600B", 5, "A??B "},       // one "?" for each character not held
      {u"A\U000E0041B", 4, "AB  "},         // a language tag is dropped
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
      {"\x5C", u"\\"},           // backslash, never the yen sign
      {"\x81\x20", u"? "},       // no pair: the lead byte is "?", its follower read alone
      {"\x85\x81\x40", u"?　"},  // the follower may begin a pair itself
      {"A\x81", u"A?"},          // a lead byte with nothing after it
      {"\x80\xA0\xFD\xFF", u"????"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(decode(c.bytes), c.text) << c.bytes;
  }
}

}  // namespace
}  // namespace pirune::cp932
