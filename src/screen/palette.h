#pragma once

#include <array>

#include "screen/color.h"

namespace pirune {

// The 16 colours of the background effect; the scatter never picks entry 15, bright white.
inline constexpr std::array<Color, 16> kQbPalette{{
    {0, 0, 0},
    {0, 0, 128},
    {0, 128, 0},
    {0, 128, 128},
    {128, 0, 0},
    {128, 0, 128},
    {128, 128, 0},
    {192, 192, 192},
    {128, 128, 128},
    {0, 0, 255},
    {0, 255, 0},
    {0, 255, 255},
    {255, 0, 0},
    {255, 0, 255},
    {255, 255, 0},
    {255, 255, 255},
}};

}  // namespace pirune
