#include "client_area.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <utility>

namespace pirune::desktop {

namespace {

// One frame of a 60 Hz display: the model may change far more often than the player can see,
// and a second paint within one frame would never be seen. Qt's own joining of updates is not
// enough: a late tick and a click each paint at once, however close to the paint before.
constexpr qint64 kFrameNs = 1'000'000'000 / 60;
constexpr qint64 kNsPerMs = 1'000'000;

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
  frameTimer_.setSingleShot(true);
  // A coarse timer may fire a few milliseconds early, which would put two paints in one frame.
  frameTimer_.setTimerType(Qt::PreciseTimer);
  connect(&frameTimer_, &QTimer::timeout, this, &ClientArea::paintFrame);
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
  // Taken at every change, not only when the frame is painted: whatever happens between now
  // and that paint is taken by the next change, so no pixel that differs is ever missed.
  unpainted_ += damage_.take(model_, rect());
  if (unpainted_.isEmpty() || frameTimer_.isActive()) {
    return;  // a frame already on its way paints the newest state
  }
  const qint64 since = sinceFrame_.isValid() ? sinceFrame_.nsecsElapsed() : kFrameNs;
  if (since >= kFrameNs) {
    paintFrame();
  } else {
    // Rounded up to whole milliseconds, so the frame is never early.
    frameTimer_.start(static_cast<int>((kFrameNs - since + kNsPerMs - 1) / kNsPerMs));
  }
}

void ClientArea::paintFrame() {
  if (!unpainted_.isEmpty()) {
    repaint(std::exchange(unpainted_, QRegion()));
  }
}

void ClientArea::paintEvent(QPaintEvent* event) {
  // Frames are paced from the moment a paint really begins: before it the toolkit may wait for
  // the display to take the last frame, and a frame paced from the request could follow the
  // late one within a display frame.
  sinceFrame_.start();
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
