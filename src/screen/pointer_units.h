#pragma once
// What a shell measures of a press, as the game takes it: a pixel of the client area becomes a
// position in units, and the keys held become the Shift argument. Decided here once, so that a
// recorded press is taken the same way on every screen and when it is flown again.

#include <cstdint>

#include "screen/window_model.h"

namespace pirune {

// Single-precision arithmetic, one product and one quotient: the same on every build.
[[nodiscard]] inline float pixelToUnits(int pixel, int side, float units) {
  return side > 0 ? static_cast<float>(pixel) * units / static_cast<float>(side) : 0.0F;
}

struct HeldKeys {
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
};

// 1 Shift, 2 Ctrl, 4 Alt, as the mouse events of the desktop this game was made for.
[[nodiscard]] inline std::int16_t shiftState(HeldKeys keys) {
  return static_cast<std::int16_t>((keys.shift ? 1 : 0) | (keys.ctrl ? 2 : 0) | (keys.alt ? 4 : 0));
}

}  // namespace pirune
