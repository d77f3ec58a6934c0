#include "host/picture_place.h"

#include <cmath>

namespace pirune {

std::optional<PixelRect> picturePlace(const Image& image, const ClientGeometry& client) {
  if (!image.Picture()) {
    return std::nullopt;
  }
  PixelRect place = toPixels(image.rect(), client);
  if (!image.Stretch()) {
    place.width = static_cast<int>(std::lround(image.Picture()->width() * client.pictureScale));
    place.height = static_cast<int>(std::lround(image.Picture()->height() * client.pictureScale));
  }
  return place;
}

}  // namespace pirune
