#include "flight/json_text.h"

#include <array>

namespace pirune::flight {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void append(std::string& out, char32_t c) {
  const auto byte = [&out](unsigned value) { out.push_back(static_cast<char>(value)); };
  if (c < 0x80) {
    byte(static_cast<unsigned>(c));
  } else if (c < 0x800) {
    byte(0xC0U | (c >> 6U));
    byte(0x80U | (c & 0x3FU));
  } else if (c < 0x10000) {
    byte(0xE0U | (c >> 12U));
    byte(0x80U | ((c >> 6U) & 0x3FU));
    byte(0x80U | (c & 0x3FU));
  } else {
    byte(0xF0U | (c >> 18U));
    byte(0x80U | ((c >> 12U) & 0x3FU));
    byte(0x80U | ((c >> 6U) & 0x3FU));
    byte(0x80U | (c & 0x3FU));
  }
}

}  // namespace

std::string utf8(std::u16string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] < 0xE000) {
      append(out, 0x10000 + ((char32_t{unit} - 0xD800) << 10U) + (char32_t{text[i + 1]} - 0xDC00));
      ++i;
    } else if (unit >= 0xD800 && unit < 0xE000) {
      append(out, kReplacement);
    } else {
      append(out, unit);
    }
  }
  return out;
}

std::string jsonString(std::u16string_view text) {
  std::string out = "\"";
  for (const char c : utf8(text)) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (u < 0x20) {
      constexpr std::array<char, 16> kHex{'0', '1', '2', '3', '4', '5', '6', '7',
                                          '8', '9', 'a', 'b', 'c', 'd', 'e', 'f'};
      out += "\\u00";
      out += kHex.at(u >> 4U);
      out += kHex.at(u & 0xFU);
    } else {
      out += c;
    }
  }
  return out + "\"";
}

}  // namespace pirune::flight
