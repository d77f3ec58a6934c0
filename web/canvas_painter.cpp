#include "canvas_painter.h"

#include <algorithm>
#include <cmath>

#include "page_picture.h"

namespace pirune::web {

namespace {

void paintImage(const Image& image, const CanvasSize& canvas) {
  const PagePicture* picture = image.Picture() ? pagePictureOf(*image.Picture()) : nullptr;
  if (picture == nullptr) {
    return;
  }
  page::PixelRect target = toPixels(image.rect(), canvas);
  if (!image.Stretch()) {
    target.width = picture->width() * canvas.pixelRatio;
    target.height = picture->height() * canvas.pixelRatio;
  }
  page::drawPicture(picture->id(), target);
}

void paintShape(const Shape& shape, const CanvasSize& canvas) {
  page::fillRect(toPixels(shape.rect(), canvas), shape.BackColor());
}

void paintLabel(const Label& label, const CanvasSize& canvas) {
  const page::PixelRect box = toPixels(label.rect(), canvas);
  if (label.Caption().empty() || box.width <= 0 || box.height <= 0) {
    return;
  }
  // The label is clipped to its own box and to the client area.
  const double left = std::max(box.left, 0.0);
  const double top = std::max(box.top, 0.0);
  const double right = std::min(box.left + box.width, canvas.width);
  const double bottom = std::min(box.top + box.height, canvas.height);
  if (right <= left || bottom <= top) {
    return;
  }
  const double points = label.FontSize() > 0 ? label.FontSize() : 1;
  page::drawText(label.Caption(), box, {left, top, right - left, bottom - top}, label.ForeColor(),
                 label.TextAlignment(), points * canvas.pointPixels);
}

}  // namespace

page::PixelRect toPixels(const Rect& units, const CanvasSize& canvas) {
  const double sx = canvas.width / static_cast<double>(kScaleWidth);
  const double sy = canvas.height / static_cast<double>(kScaleHeight);
  const double left = std::round(units.left * sx);
  const double top = std::round(units.top * sy);
  const double right = std::round((units.left + units.width) * sx);
  const double bottom = std::round((units.top + units.height) * sy);
  return {left, top, right - left, bottom - top};
}

void paintWindow(const WindowModel& window, const CanvasSize& canvas) {
  page::fillRect({0, 0, canvas.width, canvas.height}, kBlack);
  for (const Control* control : window.paintList()) {
    switch (control->kind()) {
      case ControlKind::Image: paintImage(static_cast<const Image&>(*control), canvas); break;
      case ControlKind::Shape: paintShape(static_cast<const Shape&>(*control), canvas); break;
      case ControlKind::Label: paintLabel(static_cast<const Label&>(*control), canvas); break;
    }
  }
}

}  // namespace pirune::web
