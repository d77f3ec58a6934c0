#pragma once

#include <string>

namespace pirune {

// A number as the game writes it: decimal, a minus sign if negative, no padding.
inline std::u16string decimal(long long value) {
  const std::string digits = std::to_string(value);
  return {digits.begin(), digits.end()};
}

}  // namespace pirune
