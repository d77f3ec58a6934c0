// The background effect: four small shapes that show up at random, shrink towards their
// top-left corner one unit per tick, and show up again elsewhere.

#include <cmath>

#include "game/form.h"

namespace pirune {

const std::array<Color, 16>& qbPalette() {
  static const std::array<Color, 16> palette{{
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
  return palette;
}

namespace {

// Int(Rnd * n): the floor of the product.
int randomInt(Platform& platform, int n) {
  return static_cast<int>(std::floor(platform.rnd() * n));
}

}  // namespace

void FOM::scatter(Shape& shape) {
  shape.setBackColor(qbPalette().at(static_cast<std::size_t>(randomInt(platform_, 15))));
  const int left = randomInt(platform_, 100) + 1;
  const int top = randomInt(platform_, 100) + 1;
  const int width = randomInt(platform_, 30);
  const int height = randomInt(platform_, 30);
  shape.Move(static_cast<float>(left), static_cast<float>(top), static_cast<float>(width),
             static_cast<float>(height));
}

void FOM::SHPTIM_Timer() {
  for (Shape* shape : SHP) {
    const float w = shape->Width();
    if (w - 1.0F > 1.0F) {
      // The width is taken as a whole number first, ties to even, as the old counters did.
      const Integer n = Integer::from(std::llrint(w));
      shape->setWidth(static_cast<float>(n - 1));
      shape->setHeight(shape->Width());
    } else {
      scatter(*shape);
    }
  }
}

void FOM::showShapes(bool visible) {
  for (Shape* shape : SHP) {
    shape->setVisible(visible);
  }
}

}  // namespace pirune
