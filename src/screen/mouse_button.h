#pragma once
// The mouse buttons as the game's procedures number them.

#include <cstdint>

namespace pirune {

enum class MouseButton : std::int16_t { Left = 1, Right = 2, Middle = 4 };

}  // namespace pirune
