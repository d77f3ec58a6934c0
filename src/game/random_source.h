#pragma once
// The program's one random generator, seeded from the clock.

#include <chrono>
#include <cmath>
#include <cstdint>
#include <random>

namespace pirune {

class RandomSource {
 public:
  void seedFromClock() {
    const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    generator_.seed(static_cast<std::uint64_t>(ticks));
  }

  // Uniform on [0, 1).
  double next() {
    const double r = uniform_(generator_);
    // Some library versions can round up to 1.0, which would pick one colour too many.
    return r < 1.0 ? r : std::nextafter(1.0, 0.0);
  }

 private:
  std::mt19937_64 generator_;
  std::uniform_real_distribution<double> uniform_{0.0, 1.0};
};

}  // namespace pirune
