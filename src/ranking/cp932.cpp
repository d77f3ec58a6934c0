#include "ranking/cp932.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <cstring>

#include "game/runtime_error.h"

namespace pirune::cp932 {

namespace {

class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (cd_ == invalid()) {
      const int error = errno;
      throw RuntimeError(std::string("文字コード ") + from + " から " + to +
                         " への変換を用意できません: " + std::strerror(error));
    }
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  Converter(Converter&&) = delete;
  Converter& operator=(Converter&&) = delete;
  ~Converter() { iconv_close(cd_); }

  // Converts as much of `in` as it can into `out`; returns 0 or the errno that stopped it.
  // Afterwards `in` and `out` hold what is left of each.
  int convert(std::string_view& in, char*& out, std::size_t& outLeft) {
    // iconv's prototype takes char**, though it only reads the input.
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    const std::size_t result = iconv(cd_, &inPtr, &inLeft, &out, &outLeft);
    const int error = result == static_cast<std::size_t>(-1) ? errno : 0;
    in = in.substr(in.size() - inLeft);
    if (error != 0) {
      iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    }
    return error;
  }

 private:
  // What iconv_open returns when it fails.
  static iconv_t invalid() {
    return reinterpret_cast<iconv_t>(-1);  // NOLINT(performance-no-int-to-ptr)
  }
  iconv_t cd_;
};

bool isHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

std::string littleEndian(std::u16string_view units) {
  std::string bytes;
  bytes.reserve(units.size() * 2);
  for (const char16_t unit : units) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  return bytes;
}

}  // namespace

std::string encodeFixed(std::u16string_view text, std::size_t width) {
  Converter converter("CP932", "UTF-16LE");
  std::string bytes;
  std::size_t i = 0;
  while (i < text.size()) {
    // One character at a time, so that one that does not fit is dropped whole.
    const std::size_t units =
        isHighSurrogate(text[i]) && i + 1 < text.size() && isLowSurrogate(text[i + 1]) ? 2 : 1;
    const std::string input = littleEndian(text.substr(i, units));
    i += units;

    std::array<char, 8> buffer{};
    std::string_view in(input);
    char* out = buffer.data();
    std::size_t outLeft = buffer.size();
    const bool encoded = converter.convert(in, out, outLeft) == 0;
    const std::string character = encoded ? std::string(buffer.data(), out) : std::string("?");
    if (bytes.size() + character.size() > width) {
      break;
    }
    bytes += character;
  }
  bytes.resize(width, ' ');
  return bytes;
}

std::u16string decode(std::string_view bytes) {
  Converter converter("UTF-16LE", "CP932");
  std::u16string text;
  std::string_view in = bytes;
  while (!in.empty()) {
    // Two bytes of UTF-16 per input byte at most: the output never runs short.
    std::string buffer(in.size() * 2, '\0');
    char* out = buffer.data();
    std::size_t outLeft = buffer.size();
    const int error = converter.convert(in, out, outLeft);
    for (const char* p = buffer.data(); p + 1 < out; p += 2) {
      text.push_back(static_cast<char16_t>(static_cast<unsigned char>(p[0]) |
                                           (static_cast<unsigned char>(p[1]) << 8)));
    }
    if (error != 0 && !in.empty()) {
      // An invalid byte, or a lead byte with nothing after it: one "?" for it, then on.
      text.push_back(u'?');
      in.remove_prefix(1);
    }
  }
  return text;
}

}  // namespace pirune::cp932
