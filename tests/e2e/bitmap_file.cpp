#include "bitmap_file.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

#include "reading.h"

namespace xdriver {

namespace {

std::uint32_t le32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8U |
         static_cast<std::uint32_t>(b[at + 2]) << 16U |
         static_cast<std::uint32_t>(b[at + 3]) << 24U;
}

std::uint16_t le16(const std::vector<std::uint8_t>& b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8U);
}

// The mean colour of a rectangle, so that a single sparkle of a star weighs little.
Rgb meanOver(const Picture& p, int x0, int y0, int x1, int y1) {
  int r = 0;
  int g = 0;
  int b = 0;
  int n = 0;
  for (int y = std::max(0, y0); y <= std::min(p.height() - 1, y1); ++y) {
    for (int x = std::max(0, x0); x <= std::min(p.width() - 1, x1); ++x) {
      const Rgb& q = p.at(x, y);
      r += q.r;
      g += q.g;
      b += q.b;
      ++n;
    }
  }
  if (n == 0) {
    return {};
  }
  return {static_cast<std::uint8_t>(r / n), static_cast<std::uint8_t>(g / n),
          static_cast<std::uint8_t>(b / n)};
}

int distance(const Rgb& a, const Rgb& b) {
  return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
}

}  // namespace

std::optional<Picture> loadBitmap(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                        std::istreambuf_iterator<char>());
  if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') {
    return std::nullopt;
  }
  const std::size_t offset = le32(bytes, 10);
  const auto width = static_cast<std::int32_t>(le32(bytes, 18));
  const auto height = static_cast<std::int32_t>(le32(bytes, 22));
  const std::uint16_t bits = le16(bytes, 28);
  const std::uint32_t compression = le32(bytes, 30);
  if (width <= 0 || height == 0 || (bits != 24 && bits != 32) || compression != 0) {
    return std::nullopt;
  }
  const int rows = std::abs(height);
  const std::size_t pixelBytes = bits / 8U;
  const std::size_t stride = (static_cast<std::size_t>(width) * pixelBytes + 3U) / 4U * 4U;
  if (offset + stride * static_cast<std::size_t>(rows) > bytes.size()) {
    return std::nullopt;
  }
  Picture picture(width, rows);
  for (int y = 0; y < rows; ++y) {
    // Rows are stored from the bottom up unless the height is negative.
    const int stored = height > 0 ? rows - 1 - y : y;
    const std::size_t row = offset + static_cast<std::size_t>(stored) * stride;
    for (int x = 0; x < width; ++x) {
      const std::size_t at = row + static_cast<std::size_t>(x) * pixelBytes;
      picture.at(x, y) = {bytes[at + 2], bytes[at + 1], bytes[at]};
    }
  }
  return picture;
}

double pictureDifference(const ClientArea& client, const Picture& bitmap, double fromUnits) {
  const Picture& shown = client.picture;
  if (shown.width() == 0 || shown.height() == 0 || bitmap.width() == 0) {
    return 255;
  }
  constexpr int kStep = 6;
  constexpr int kRadius = 3;
  long total = 0;
  long samples = 0;
  for (int y = client.pixelY(fromUnits); y < shown.height() - kRadius; y += kStep) {
    for (int x = kRadius; x < shown.width() - kRadius; x += kStep) {
      // The shapes of the background effect may stand in front of a picture.
      if (isPaletteColour(shown.at(x - kRadius, y - kRadius)) ||
          isPaletteColour(shown.at(x + kRadius, y + kRadius)) ||
          isPaletteColour(shown.at(x - kRadius, y + kRadius)) ||
          isPaletteColour(shown.at(x + kRadius, y - kRadius)) || isPaletteColour(shown.at(x, y))) {
        continue;
      }
      // The same rectangle of the picture file, whatever the window's size.
      const auto bitmapX = [&](int px) { return px * bitmap.width() / shown.width(); };
      const auto bitmapY = [&](int py) { return py * bitmap.height() / shown.height(); };
      total += distance(meanOver(shown, x - kRadius, y - kRadius, x + kRadius, y + kRadius),
                        meanOver(bitmap, bitmapX(x - kRadius), bitmapY(y - kRadius),
                                 bitmapX(x + kRadius + 1) - 1, bitmapY(y + kRadius + 1) - 1));
      ++samples;
    }
  }
  return samples == 0 ? 255 : static_cast<double>(total) / (3.0 * static_cast<double>(samples));
}

double percentDiffering(const Picture& now, const Picture& reference) {
  if (now.width() != reference.width() || now.height() != reference.height() || now.width() == 0 ||
      now.height() == 0) {
    return 100;
  }
  long differing = 0;
  for (int y = 0; y < now.height(); ++y) {
    for (int x = 0; x < now.width(); ++x) {
      if (distance(now.at(x, y), reference.at(x, y)) > 48) {
        ++differing;
      }
    }
  }
  return 100.0 * static_cast<double>(differing) / (static_cast<double>(now.width()) * now.height());
}

}  // namespace xdriver
