#include "client_area.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

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

ClientArea::ClientArea(const WindowModel& model, QWidget* parent) : QWidget(parent), model_(model) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

QPointF ClientArea::toUnits(QPointF pixels) const {
  const double w = width() > 0 ? width() : 1;
  const double h = height() > 0 ? height() : 1;
  return {pixels.x() * kScaleWidth / w, pixels.y() * kScaleHeight / h};
}

void ClientArea::showChanges() {
  if (shownRevision_ == model_.revision()) {
    return;
  }
  shownRevision_ = model_.revision();
  // Taken at every change, not only when Qt paints: whatever happens before that paint is taken
  // by the next change, so no pixel that differs is ever missed.
  update(damage_.take(model_, rect()));
}

void ClientArea::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  paintWindow(painter, model_, rect(), event->region(), textPlacement_);
}

void ClientArea::press(QMouseEvent* event) {
  if (const auto button = gameButton(event->button())) {
    emit pressed(*button, shiftState(event->modifiers()), toUnits(event->position()));
  }
}

void ClientArea::mousePressEvent(QMouseEvent* event) { press(event); }

void ClientArea::mouseDoubleClickEvent(QMouseEvent* event) { press(event); }

void ClientArea::mouseReleaseEvent(QMouseEvent* event) {
  if (const auto button = gameButton(event->button())) {
    emit released(*button, toUnits(event->position()));
  }
}

}  // namespace pirune::desktop
