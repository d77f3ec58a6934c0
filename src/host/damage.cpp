#include "host/damage.h"

#include <algorithm>
#include <utility>

#include "host/picture_place.h"

namespace pirune {

namespace {

// Scaled pictures and text blend into the pixel next to their edge.
constexpr int kBleed = 1;

PixelRect touched(const PixelRect& area, const ClientGeometry& client) {
  if (area.empty()) {
    return {};
  }
  return area.grown(kBleed).intersected(client.rect());
}

}  // namespace

bool DamageTracker::Look::sameAs(const Look& other) const {
  return pixels == other.pixels && picture == other.picture && color == other.color &&
         caption == other.caption && alignment == other.alignment && fontSize == other.fontSize;
}

DamageTracker::Look DamageTracker::lookOf(const Control& control, const ClientGeometry& client,
                                          const TextInk& textInk) {
  Look look;
  look.control = &control;
  switch (control.kind()) {
    case ControlKind::Image: {
      const auto& image = static_cast<const Image&>(control);
      look.picture = image.Picture();
      if (const auto place = picturePlace(image, client)) {
        look.pixels = touched(*place, client);
      }
      break;
    }
    case ControlKind::Shape:
      look.color = static_cast<const Shape&>(control).BackColor();
      look.pixels = touched(toPixels(control.rect(), client), client);
      break;
    case ControlKind::Label: {
      const auto& label = static_cast<const Label&>(control);
      look.caption = label.Caption();
      look.color = label.ForeColor();
      look.alignment = label.TextAlignment();
      look.fontSize = label.FontSize();
      if (!look.caption.empty()) {
        look.pixels = touched(textInk(label), client);
      }
      break;
    }
  }
  return look;
}

Region DamageTracker::take(const WindowModel& window, const ClientGeometry& client,
                           const TextInk& textInk) {
  // The two lists keep their storage from call to call; only captions and regions allocate.
  std::swap(before_, painted_);
  painted_.clear();
  for (const Control* control : window.paintList()) {
    painted_.push_back(lookOf(*control, client, textInk));
  }
  if (!taken_ || client != client_) {
    taken_ = true;
    client_ = client;
    return Region(client.rect());
  }

  const auto find = [](const std::vector<Look>& looks, const Control* control) {
    return std::find_if(looks.begin(), looks.end(),
                        [control](const Look& look) { return look.control == control; });
  };
  Region damage;
  std::ptrdiff_t lastPosition = -1;
  for (const Look& look : painted_) {
    const auto old = find(before_, look.control);
    if (old == before_.end()) {
      damage.add(look.pixels);
      continue;
    }
    // A control that changed places in the drawing order may now cover or be covered by any
    // other: nothing short of the whole client area is sure to be right.
    const std::ptrdiff_t position = old - before_.begin();
    if (position < lastPosition) {
      return Region(client.rect());
    }
    lastPosition = position;
    if (!look.sameAs(*old)) {
      damage.add(old->pixels);
      damage.add(look.pixels);
    }
  }
  for (const Look& look : before_) {
    if (find(painted_, look.control) == painted_.end()) {
      damage.add(look.pixels);
    }
  }
  return damage;
}

}  // namespace pirune
