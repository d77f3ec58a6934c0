#pragma once
// Text for the outcome's line of JSON: UTF-16 as UTF-8, quoted and escaped.

#include <string>
#include <string_view>

namespace pirune::flight {

// Lone surrogates, which no name box can give, are written as U+FFFD.
[[nodiscard]] std::string utf8(std::u16string_view text);
[[nodiscard]] std::string jsonString(std::u16string_view text);

}  // namespace pirune::flight
