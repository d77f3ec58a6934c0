#include "client_area.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <optional>

#include "error_boundary.h"
#include "game/form.h"
#include "renderer.h"

namespace pirune::desktop {

namespace {

std::optional<MouseButton> gameButton(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton: return MouseButton::Left;
    case Qt::RightButton: return MouseButton::Right;
    case Qt::MiddleButton: return MouseButton::Middle;
    default: return std::nullopt;
  }
}

std::int16_t shiftState(Qt::KeyboardModifiers modifiers) {
  std::int16_t shift = 0;
  if (modifiers.testFlag(Qt::ShiftModifier)) {
    shift |= 1;
  }
  if (modifiers.testFlag(Qt::ControlModifier)) {
    shift |= 2;
  }
  if (modifiers.testFlag(Qt::AltModifier)) {
    shift |= 4;
  }
  return shift;
}

}  // namespace

ClientArea::ClientArea(FOM& form, ErrorBoundary& boundary, QWidget* parent)
    : QWidget(parent), form_(form), boundary_(boundary) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

QPointF ClientArea::toUnits(QPointF pixels) const {
  const double w = width() > 0 ? width() : 1;
  const double h = height() > 0 ? height() : 1;
  return {pixels.x() * kScaleWidth / w, pixels.y() * kScaleHeight / h};
}

void ClientArea::paintEvent(QPaintEvent* event) {
  ++paintCount_;
  if (onPaint) {
    onPaint();
  }
  QPainter painter(this);
  paintWindow(painter, form_.window, rect(), &event->region(), &textPlacement_);
}

void ClientArea::press(QMouseEvent* event) {
  const auto button = gameButton(event->button());
  if (!button) {
    return;
  }
  const QPointF at = toUnits(event->position());
  const std::int16_t shift = shiftState(event->modifiers());
  boundary_.run([&] {
    form_.pointerPressed(*button, shift, static_cast<float>(at.x()), static_cast<float>(at.y()));
  });
}

void ClientArea::mousePressEvent(QMouseEvent* event) { press(event); }

void ClientArea::mouseDoubleClickEvent(QMouseEvent* event) { press(event); }

void ClientArea::mouseReleaseEvent(QMouseEvent* event) {
  const auto button = gameButton(event->button());
  if (!button) {
    return;
  }
  const QPointF at = toUnits(event->position());
  boundary_.run([&] {
    form_.pointerReleased(*button, static_cast<float>(at.x()), static_cast<float>(at.y()));
  });
}

}  // namespace pirune::desktop
