#pragma once
// A picture of a given size and name, with no pixels: what the core needs of one; and a font
// whose every character is ten pixels wide, its lines twelve pixels apart.

#include <array>
#include <string>
#include <utility>

#include "host/paint_plan.h"
#include "screen/picture.h"

namespace pirune::testing {

struct SizedPicture : Bitmap {
  SizedPicture(std::string name, int width, int height)
      : name(std::move(name)), size{width, height} {}
  [[nodiscard]] std::string source() const override { return name; }
  [[nodiscard]] int width() const override { return size[0]; }
  [[nodiscard]] int height() const override { return size[1]; }

  std::string name;
  std::array<int, 2> size;
};

inline double tenPixelsEach(std::u16string_view text, double /*fontPixels*/) {
  return 10.0 * static_cast<double>(text.size());
}

inline FontMetrics tenPixelFont() {
  return {tenPixelsEach, [](double /*fontPixels*/) { return 12.0; }};
}

}  // namespace pirune::testing
