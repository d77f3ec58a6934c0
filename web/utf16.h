#pragma once
// The game's run-time errors carry UTF-8 text; the boxes show UTF-16.

#include <string>
#include <string_view>

namespace pirune::web {

// Bytes that are no UTF-8 read as U+FFFD, one for each byte.
std::u16string utf16FromUtf8(std::string_view text);

}  // namespace pirune::web
