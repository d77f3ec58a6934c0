#include "damage.h"

#include <algorithm>
#include <utility>

#include "qt_picture.h"
#include "renderer.h"

namespace pirune::desktop {

namespace {

// Scaled pictures and text blend into the pixel next to their edge.
constexpr int kBleed = 1;

QRect touched(const QRectF& area, const QRect& client) {
  if (area.isEmpty()) {
    return {};
  }
  return area.toAlignedRect().adjusted(-kBleed, -kBleed, kBleed, kBleed).intersected(client);
}

}  // namespace

bool DamageTracker::Look::sameAs(const Look& other) const {
  return pixels == other.pixels && picture == other.picture && color == other.color &&
         caption == other.caption && alignment == other.alignment && fontSize == other.fontSize;
}

DamageTracker::Look DamageTracker::lookOf(const Control& control, const QRect& client) {
  Look look;
  look.control = &control;
  const QRectF box = toPixels(control.rect(), client);
  switch (control.kind()) {
    case ControlKind::Image: {
      const auto& image = static_cast<const Image&>(control);
      look.picture = image.Picture();
      const QImage* pixels = image.Picture() ? imageOf(*image.Picture()) : nullptr;
      if (pixels != nullptr) {
        // Unstretched, the picture shows at its own size from the control's corner.
        look.pixels =
            touched(image.Stretch() ? box : QRectF(box.topLeft(), QSizeF(pixels->size())), client);
      }
      break;
    }
    case ControlKind::Shape:
      look.color = static_cast<const Shape&>(control).BackColor();
      look.pixels = touched(box, client);
      break;
    case ControlKind::Label: {
      const auto& label = static_cast<const Label&>(control);
      look.caption = label.Caption();
      look.color = label.ForeColor();
      look.alignment = label.TextAlignment();
      look.fontSize = label.FontSize();
      if (!look.caption.empty()) {
        look.pixels = touched(box, client);
      }
      break;
    }
  }
  return look;
}

QRegion DamageTracker::take(const WindowModel& window, const QRect& client) {
  // The two lists keep their storage from call to call; only captions and regions allocate.
  std::swap(before_, painted_);
  painted_.clear();
  for (const Control* control : window.paintList()) {
    painted_.push_back(lookOf(*control, client));
  }
  const std::vector<Look>& before = before_;
  const std::vector<Look>& after = painted_;
  if (!taken_ || client != client_) {
    taken_ = true;
    client_ = client;
    return QRegion(client);
  }

  auto find = [](const std::vector<Look>& looks, const Control* control) {
    return std::find_if(looks.begin(), looks.end(),
                        [control](const Look& look) { return look.control == control; });
  };
  QRegion damage;
  std::ptrdiff_t lastPosition = -1;
  for (const Look& look : after) {
    const auto old = find(before, look.control);
    if (old == before.end()) {
      damage += look.pixels;
      continue;
    }
    // A control that changed places in the drawing order may now cover or be covered by any
    // other: nothing short of the whole client area is sure to be right.
    const std::ptrdiff_t position = old - before.begin();
    if (position < lastPosition) {
      return QRegion(client);
    }
    lastPosition = position;
    if (!look.sameAs(*old)) {
      damage += old->pixels;
      damage += look.pixels;
    }
  }
  for (const Look& look : before) {
    if (find(after, look.control) == after.end()) {
      damage += look.pixels;
    }
  }
  return damage;
}

}  // namespace pirune::desktop
