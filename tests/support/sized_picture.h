#pragma once
// A picture of a given size and name, with no pixels: what the core needs of one.

#include <array>
#include <string>
#include <utility>

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

}  // namespace pirune::testing
