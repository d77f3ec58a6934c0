#pragma once
// The pictures that the program carries inside itself, as the bytes of Windows bitmap files:
// the hero's two wing frames (100 by 100, 1 bit, black and white) and the window's icon
// (16 by 16, 8 bits with a 256-colour palette). Made by the picture generator at build time.

#include <span>

namespace pirune::embedded {

std::span<const unsigned char> wingFrame1Bmp();
std::span<const unsigned char> wingFrame2Bmp();
std::span<const unsigned char> iconBmp();

}  // namespace pirune::embedded
