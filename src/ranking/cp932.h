#pragma once
// Names in scr.dat are stored in code page 932 (Shift-JIS), as the ranking always was; this is
// the one place that converts them. It converts exactly as glibc's iconv("CP932") did, from a
// table taken from it once (cp932.table), so that every build of the game reads and writes the
// same bytes.

#include <cstddef>
#include <string>
#include <string_view>

namespace pirune::cp932 {

// Exactly `width` bytes: the name's characters as far as they fit whole, then spaces. A
// character that code page 932 cannot hold is written as "?" (a language tag, U+E0000 to
// U+E007F, as nothing); a double-byte character that would reach past the last byte is
// dropped, and so is everything after it.
std::string encodeFixed(std::u16string_view text, std::size_t width);

// Every byte that is not part of a character of code page 932 reads as one "?" and reading goes
// on at the next byte, so that a damaged file still gives a name.
std::u16string decode(std::string_view bytes);

}  // namespace pirune::cp932
