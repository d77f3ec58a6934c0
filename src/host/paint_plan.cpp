#include "host/paint_plan.h"

#include <algorithm>
#include <cmath>

#include "host/picture_place.h"

namespace pirune {

namespace {

// The few labels a window has; more would mean a layout kept for a text long gone.
constexpr std::size_t kLayoutsKept = 4;

PixelRect enclosing(double left, double top, double right, double bottom) {
  const int l = static_cast<int>(std::floor(left));
  const int t = static_cast<int>(std::floor(top));
  return {l, t, static_cast<int>(std::ceil(right)) - l, static_cast<int>(std::ceil(bottom)) - t};
}

}  // namespace

const PaintPlanner::Layout& PaintPlanner::layOut(const Label& label, const ClientGeometry& client) {
  const PixelRect box = toPixels(label.rect(), client);
  const double points = label.FontSize() > 0 ? label.FontSize() : 1;
  const double fontPixels = points * client.pointPixels;
  for (const Layout& known : layouts_) {
    if (known.caption == label.Caption() && known.box == box && known.fontPixels == fontPixels &&
        known.alignment == label.TextAlignment() && known.color == label.ForeColor()) {
      return known;
    }
  }
  if (layouts_.size() >= kLayoutsKept) {
    layouts_.erase(layouts_.begin());
  }
  Layout& layout = layouts_.emplace_back();
  layout.caption = label.Caption();
  layout.box = box;
  layout.alignment = label.TextAlignment();
  layout.color = label.ForeColor();
  layout.fontPixels = fontPixels;

  const double lineHeight = metrics_.lineHeight(fontPixels);
  const PixelRect clip = box.intersected(client.rect());
  double top = box.top;
  double inkLeft = box.right();
  double inkRight = box.left;
  for (const TextLine& line : breakLines(label.Caption(), box.width, fontPixels, metrics_.width)) {
    // Lines that start below the label are never seen.
    if (top > box.bottom()) {
      break;
    }
    const double free = box.width - line.width;
    const double left = label.TextAlignment() == Alignment::Center  ? box.left + free / 2
                        : label.TextAlignment() == Alignment::Right ? box.left + free
                                                                    : box.left;
    inkLeft = std::min(inkLeft, left);
    inkRight = std::max(inkRight, left + line.width);
    layout.lines.push_back({line.text, left, top, fontPixels, label.ForeColor(), clip});
    top += lineHeight;
  }
  // Glyphs may reach a little beyond their advances; half a line is far more than any does.
  const double reach = lineHeight / 2;
  layout.ink = layout.lines.empty()
                   ? PixelRect{}
                   : enclosing(inkLeft - reach, box.top - reach, inkRight + reach, top + reach)
                         .intersected(clip);
  return layout;
}

std::vector<PaintStep> PaintPlanner::plan(const WindowModel& window, const ClientGeometry& client,
                                          const Region& region) {
  std::vector<PaintStep> steps;
  if (region.empty() || client.rect().empty()) {
    return steps;
  }
  steps.emplace_back(FillRect{client.rect().intersected(region.bounds()), kBlack});
  for (const Control* control : window.paintList()) {
    switch (control->kind()) {
      case ControlKind::Image: {
        const auto& image = static_cast<const Image&>(*control);
        const auto place = picturePlace(image, client);
        if (place && !place->empty() && region.intersects(place->grown(1))) {
          steps.emplace_back(DrawPicture{image.Picture().get(), *place});
        }
        break;
      }
      case ControlKind::Shape: {
        const PixelRect rect = toPixels(control->rect(), client);
        if (region.intersects(rect)) {
          steps.emplace_back(FillRect{rect, static_cast<const Shape&>(*control).BackColor()});
        }
        break;
      }
      case ControlKind::Label: {
        const auto& label = static_cast<const Label&>(*control);
        if (label.Caption().empty()) {
          break;
        }
        const Layout& layout = layOut(label, client);
        if (region.intersects(layout.ink)) {
          steps.insert(steps.end(), layout.lines.begin(), layout.lines.end());
        }
        break;
      }
    }
  }
  return steps;
}

}  // namespace pirune
