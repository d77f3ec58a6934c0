#pragma once
// Game counters are range-tested like the counters of the original desktop game: a step past
// the type's range is the program's overflow error, never a silent wrap-around.

#include <concepts>
#include <cstdint>
#include <limits>

#include "game/runtime_error.h"

namespace pirune {

template <std::integral T>
class Checked {
 public:
  constexpr Checked() = default;
  constexpr Checked(T value) : value_(value) {}  // NOLINT(google-explicit-constructor)

  // Stores any whole number that fits the counter's type; anything else is an overflow.
  static constexpr Checked from(long long value) {
    if (value < static_cast<long long>(std::numeric_limits<T>::min()) ||
        value > static_cast<long long>(std::numeric_limits<T>::max())) {
      throw OverflowError();
    }
    return Checked(static_cast<T>(value));
  }

  constexpr Checked& operator+=(long long delta) {
    *this = from(static_cast<long long>(value_) + delta);
    return *this;
  }
  constexpr Checked& operator-=(long long delta) { return *this += -delta; }
  constexpr Checked& operator++() { return *this += 1; }

  constexpr operator T() const { return value_; }  // NOLINT(google-explicit-constructor)
  [[nodiscard]] constexpr T value() const { return value_; }

 private:
  T value_{};
};

using Byte = Checked<std::uint8_t>;
using Integer = Checked<std::int16_t>;

}  // namespace pirune
