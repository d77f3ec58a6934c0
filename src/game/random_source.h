#pragma once
// The program's one random generator, seeded from the clock. Its whole state is one 64-bit
// number, so that a flight record can carry it and fly the same shapes again on any build; and
// it is our own, so that no library's distribution decides the numbers.

#include <chrono>
#include <cstdint>

namespace pirune {

class RandomSource {
 public:
  void seedFromClock() {
    const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    state_ = static_cast<std::uint64_t>(ticks);
  }

  // Uniform on [0, 1): 53 random bits, so never 1.0.
  double next() {
    // SplitMix64: a Weyl sequence through a strong mixer.
    state_ += 0x9E3779B97F4A7C15ULL;
    std::uint64_t z = state_;
    z = (z ^ (z >> 30U)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27U)) * 0x94D049BB133111EBULL;
    z ^= z >> 31U;
    constexpr double kUnit = 1.0 / 9007199254740992.0;  // 2^-53
    return static_cast<double>(z >> 11U) * kUnit;
  }

  [[nodiscard]] std::uint64_t state() const { return state_; }
  void setState(std::uint64_t state) { state_ = state; }

 private:
  std::uint64_t state_ = 0;
};

}  // namespace pirune
