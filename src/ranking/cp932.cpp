#include "ranking/cp932.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <span>

#include "ranking/cp932_table.h"

namespace pirune::cp932 {

namespace {

std::optional<std::uint16_t> lookUp(std::span<const Mapping> table, std::uint16_t from) {
  const auto found = std::lower_bound(
      table.begin(), table.end(), from,
      [](const Mapping& mapping, std::uint16_t key) { return mapping.from < key; });
  if (found == table.end() || found->from != from) {
    return std::nullopt;
  }
  return found->to;
}

bool isHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// Code page 932 holds no character beyond U+FFFF; the language tags were always dropped from
// names without a word.
std::string encodePair(char16_t high, char16_t low) {
  const char32_t character = 0x10000 + (char32_t{high} - 0xD800) * 0x400 + (low - 0xDC00);
  const bool languageTag = character >= 0xE0000 && character <= 0xE007F;
  return languageTag ? "" : "?";
}

std::string encodeUnit(char16_t unit) {
  const std::optional<std::uint16_t> code = lookUp(writingTable(), unit);
  if (!code) {
    return "?";
  }
  if (*code < 0x100) {
    return std::string(1, static_cast<char>(*code));
  }
  return {static_cast<char>(*code >> 8), static_cast<char>(*code & 0xFF)};
}

}  // namespace

std::string encodeFixed(std::u16string_view text, std::size_t width) {
  std::string bytes;
  std::size_t i = 0;
  while (i < text.size()) {
    const bool pair =
        isHighSurrogate(text[i]) && i + 1 < text.size() && isLowSurrogate(text[i + 1]);
    const std::string character = pair ? encodePair(text[i], text[i + 1]) : encodeUnit(text[i]);
    i += pair ? 2 : 1;
    if (bytes.size() + character.size() > width) {
      break;
    }
    bytes += character;
  }
  bytes.resize(width, ' ');
  return bytes;
}

std::u16string decode(std::string_view bytes) {
  std::u16string text;
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    std::optional<std::uint16_t> unit = lookUp(readingTable(), lead);
    std::size_t length = 1;
    if (!unit && i + 1 < bytes.size()) {
      const auto trail = static_cast<unsigned char>(bytes[i + 1]);
      unit = lookUp(readingTable(), static_cast<std::uint16_t>(lead << 8 | trail));
      length = unit ? 2 : 1;
    }
    // A byte that is no character, alone or with the next one, reads as one "?".
    text.push_back(unit ? static_cast<char16_t>(*unit) : u'?');
    i += length;
  }
  return text;
}

}  // namespace pirune::cp932
