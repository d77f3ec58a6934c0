// The background effect: four small shapes that show up at random, shrink towards their
// top-left corner one unit per tick, and show up again elsewhere.

#include <cmath>

#include "game/form.h"
#include "screen/palette.h"

namespace pirune {

namespace {

// Int(Rnd * n): the floor of the product.
int randomInt(Platform& platform, int n) {
  return static_cast<int>(std::floor(platform.rnd() * n));
}

// A shape shows up with its corner anywhere in the window, up to 29 units across, in any colour
// of the palette but the last, bright white.
constexpr int kScatterColours = static_cast<int>(kQbPalette.size()) - 1;
constexpr int kScatterPlaces = static_cast<int>(kScaleWidth);
constexpr int kScatterSizes = 30;

}  // namespace

void FOM::scatter(Shape& shape) {
  shape.setBackColor(
      kQbPalette.at(static_cast<std::size_t>(randomInt(platform_, kScatterColours))));
  const int left = randomInt(platform_, kScatterPlaces) + 1;
  const int top = randomInt(platform_, kScatterPlaces) + 1;
  const int width = randomInt(platform_, kScatterSizes);
  const int height = randomInt(platform_, kScatterSizes);
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
