// The ranking's own code page 932 against glibc's iconv("CP932"), which wrote every scr.dat
// before: every code unit, every surrogate pair, every byte and every pair of bytes.

#include "ranking/cp932.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <array>
#include <cerrno>
#include <stdexcept>

namespace pirune::cp932 {
namespace {

// The ranking's conversion as it was, through iconv.
class IconvReference {
 public:
  IconvReference() {
    if (toCp932_ == invalid() || fromCp932_ == invalid()) {
      throw std::runtime_error("no iconv converter for CP932");
    }
  }
  IconvReference(const IconvReference&) = delete;
  IconvReference& operator=(const IconvReference&) = delete;
  IconvReference(IconvReference&&) = delete;
  IconvReference& operator=(IconvReference&&) = delete;
  ~IconvReference() {
    iconv_close(toCp932_);
    iconv_close(fromCp932_);
  }

  std::string encodeFixed(std::u16string_view text, std::size_t width) {
    std::string bytes;
    std::size_t i = 0;
    while (i < text.size()) {
      const bool pair = text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size() &&
                        text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
      std::string input;
      for (const char16_t unit : text.substr(i, pair ? 2 : 1)) {
        input += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
      }
      i += pair ? 2 : 1;
      std::array<char, 8> buffer{};
      std::string_view in(input);
      char* out = buffer.data();
      const bool encoded = convert(toCp932_, in, out, buffer.size()) == 0;
      const std::string character = encoded ? std::string(buffer.data(), out) : "?";
      if (bytes.size() + character.size() > width) {
        break;
      }
      bytes += character;
    }
    bytes.resize(width, ' ');
    return bytes;
  }

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
  static iconv_t invalid() {
    return reinterpret_cast<iconv_t>(-1);  // NOLINT(performance-no-int-to-ptr)
  }

  // From a fresh state, as each conversion once opened its own converter; 0 or the errno.
  static int convert(iconv_t cd, std::string_view& in, char*& out, std::size_t outSize) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    const std::size_t result = iconv(cd, &inPtr, &inLeft, &out, &outSize);
    in = in.substr(in.size() - inLeft);
    return result == static_cast<std::size_t>(-1) ? errno : 0;
  }

  iconv_t toCp932_ = iconv_open("CP932", "UTF-16LE");
  iconv_t fromCp932_ = iconv_open("UTF-16LE", "CP932");
};

TEST(Cp932, WritesEveryCodeUnitAsIconv) {
  IconvReference iconv;
  for (int unit = 0; unit <= 0xFFFF; ++unit) {
    const std::u16string text(1, static_cast<char16_t>(unit));
    for (const std::size_t width : {1U, 2U}) {
      ASSERT_EQ(encodeFixed(text, width), iconv.encodeFixed(text, width))
          << "U+" << std::hex << unit << " in " << width;
    }
  }
}

TEST(Cp932, WritesEverySurrogatePairAsIconv) {
  IconvReference iconv;
  for (char16_t high = 0xD800; high <= 0xDBFF; ++high) {
    for (char16_t low = 0xDC00; low <= 0xDFFF; ++low) {
      const std::u16string text{high, low, u'A'};
      ASSERT_EQ(encodeFixed(text, 2), iconv.encodeFixed(text, 2))
          << std::hex << int{high} << " " << int{low};
    }
  }
}

TEST(Cp932, ReadsEveryByteAndEveryPairOfBytesAsIconv) {
  IconvReference iconv;
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
