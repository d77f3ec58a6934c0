#pragma once
// The window's client area in a shell's pixels, and the one rule that puts the model's units
// on them: every edge on the nearest whole pixel, so pictures and shapes are drawn crisp and
// two shells put them on the same pixels.

#include <vector>

#include "screen/controls.h"

namespace pirune {

struct PixelRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;

  [[nodiscard]] bool empty() const { return width <= 0 || height <= 0; }
  [[nodiscard]] int right() const { return left + width; }
  [[nodiscard]] int bottom() const { return top + height; }
  [[nodiscard]] bool intersects(const PixelRect& other) const;
  [[nodiscard]] PixelRect intersected(const PixelRect& other) const;
  [[nodiscard]] PixelRect grown(int by) const;
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// A set of pixels as rectangles that may overlap.
class Region {
 public:
  Region() = default;
  explicit Region(const PixelRect& rect) { add(rect); }

  void add(const PixelRect& rect);
  void add(const Region& other);
  [[nodiscard]] bool empty() const { return rects_.empty(); }
  [[nodiscard]] bool intersects(const PixelRect& rect) const;
  [[nodiscard]] PixelRect bounds() const;
  [[nodiscard]] const std::vector<PixelRect>& rects() const { return rects_; }

 private:
  std::vector<PixelRect> rects_;
};

// The client area as a shell shows it.
struct ClientGeometry {
  int width = 0;   // pixels
  int height = 0;  // pixels
  // Pixels per pixel of a picture's own: a picture at its natural size covers its width times
  // this (the page's device pixels per CSS pixel; 1 on the desktop, whose toolkit scales).
  double pictureScale = 1;
  // Pixels per point of the label's font.
  double pointPixels = 1;

  [[nodiscard]] PixelRect rect() const { return {0, 0, width, height}; }
  friend bool operator==(const ClientGeometry&, const ClientGeometry&) = default;
};

// A rectangle in units, on the client area, each edge on the nearest whole pixel.
[[nodiscard]] PixelRect toPixels(const Rect& units, const ClientGeometry& client);

}  // namespace pirune
