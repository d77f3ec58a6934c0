#include "host/pixels.h"

#include <algorithm>
#include <cmath>

#include "screen/window_model.h"

namespace pirune {

bool PixelRect::intersects(const PixelRect& other) const { return !intersected(other).empty(); }

PixelRect PixelRect::intersected(const PixelRect& other) const {
  const int l = std::max(left, other.left);
  const int t = std::max(top, other.top);
  const int r = std::min(right(), other.right());
  const int b = std::min(bottom(), other.bottom());
  return r > l && b > t ? PixelRect{l, t, r - l, b - t} : PixelRect{};
}

PixelRect PixelRect::grown(int by) const {
  return {left - by, top - by, width + 2 * by, height + 2 * by};
}

void Region::add(const PixelRect& rect) {
  if (rect.empty()) {
    return;
  }
  // A rectangle inside one already held adds no pixel; the background effect's few shapes
  // seldom make more than a handful.
  const auto holds = [&rect](const PixelRect& r) { return r.intersected(rect) == rect; };
  if (std::any_of(rects_.begin(), rects_.end(), holds)) {
    return;
  }
  std::erase_if(rects_, [&rect](const PixelRect& r) { return rect.intersected(r) == r; });
  rects_.push_back(rect);
}

void Region::add(const Region& other) {
  for (const PixelRect& rect : other.rects_) {
    add(rect);
  }
}

bool Region::intersects(const PixelRect& rect) const {
  return std::any_of(rects_.begin(), rects_.end(),
                     [&rect](const PixelRect& r) { return r.intersects(rect); });
}

PixelRect Region::bounds() const {
  if (rects_.empty()) {
    return {};
  }
  int l = rects_[0].left;
  int t = rects_[0].top;
  int r = rects_[0].right();
  int b = rects_[0].bottom();
  for (const PixelRect& rect : rects_) {
    l = std::min(l, rect.left);
    t = std::min(t, rect.top);
    r = std::max(r, rect.right());
    b = std::max(b, rect.bottom());
  }
  return {l, t, r - l, b - t};
}

PixelRect toPixels(const Rect& units, const ClientGeometry& client) {
  const double sx = client.width / static_cast<double>(kScaleWidth);
  const double sy = client.height / static_cast<double>(kScaleHeight);
  const auto edge = [](double at) { return static_cast<int>(std::lround(at)); };
  const int left = edge(units.left * sx);
  const int top = edge(units.top * sy);
  return {left, top, edge((units.left + units.width) * sx) - left,
          edge((units.top + units.height) * sy) - top};
}

}  // namespace pirune
