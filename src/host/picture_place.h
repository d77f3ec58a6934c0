#pragma once
// Where an image's picture lands on the client area: stretched over the image's rectangle, or
// at its natural size from the rectangle's corner.

#include <optional>

#include "host/pixels.h"
#include "screen/controls.h"

namespace pirune {

// None when the image has no picture.
[[nodiscard]] std::optional<PixelRect> picturePlace(const Image& image,
                                                    const ClientGeometry& client);

}  // namespace pirune
