#include "client_area.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <cmath>
#include <optional>
#include <utility>

namespace pirune::desktop {

namespace {

// One frame of a 60 Hz display: the game may change far more often than the player can see,
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

HeldKeys heldKeys(Qt::KeyboardModifiers modifiers) {
  return {modifiers.testFlag(Qt::ShiftModifier), modifiers.testFlag(Qt::ControlModifier),
          modifiers.testFlag(Qt::AltModifier)};
}

// The pixel the pointer is on: a position between pixels belongs to the one it lies in, as the
// session's pixels are whole ones.
QPoint pixelOf(const QMouseEvent& event) {
  return {static_cast<int>(std::floor(event.position().x())),
          static_cast<int>(std::floor(event.position().y()))};
}

}  // namespace

ClientArea::ClientArea(HostSession& session, FramePainter& painter, QWidget* parent)
    : QWidget(parent), session_(session), painter_(painter) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  // The window's keys come here, Esc among them.
  setFocusPolicy(Qt::StrongFocus);
}

void ClientArea::invalidate(const Region& changed) {
  for (const PixelRect& rect : changed.rects()) {
    unpainted_ += QRect(rect.left, rect.top, rect.width, rect.height);
  }
  if (unpainted_.isEmpty()) {
    return;
  }
  if (msToNextFrame() == 0) {
    paintChanges();
  } else {
    emit frameWanted();
  }
}

int ClientArea::msToNextFrame() const {
  const qint64 since = sinceFrame_.isValid() ? sinceFrame_.nsecsElapsed() : kFrameNs;
  // Rounded up to whole milliseconds, so the frame is never early.
  return since >= kFrameNs ? 0 : static_cast<int>((kFrameNs - since + kNsPerMs - 1) / kNsPerMs);
}

void ClientArea::paintChanges() {
  if (!unpainted_.isEmpty()) {
    repaint(std::exchange(unpainted_, QRegion()));
  }
}

void ClientArea::paintEvent(QPaintEvent* event) {
  // Frames are paced from the moment a paint really begins: before it the toolkit may wait for
  // the display to take the last frame, and a frame paced from the request could follow the
  // late one within a display frame.
  sinceFrame_.start();
  Region region;
  for (const QRect& rect : event->region()) {
    region.add({rect.x(), rect.y(), rect.width(), rect.height()});
  }
  {
    QPainter painter(this);
    painter_.paint(painter, session_.paint(region));
  }
  emit framePainted();
}

void ClientArea::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  // In Qt's logical pixels a picture's pixel is one, whatever the screen's scale; the label's
  // points are the screen's.
  session_.resize({width(), height(), 1, logicalDpiY() / kPointsPerInch});
}

void ClientArea::mousePressEvent(QMouseEvent* event) {
  if (const auto button = gameButton(event->button())) {
    emit pressed(*button, heldKeys(event->modifiers()), pixelOf(*event));
  }
}

void ClientArea::mouseDoubleClickEvent(QMouseEvent* event) { mousePressEvent(event); }

void ClientArea::mouseReleaseEvent(QMouseEvent* event) {
  if (const auto button = gameButton(event->button())) {
    emit released(*button, pixelOf(*event));
  }
}

void ClientArea::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    emit escapePressed();
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace pirune::desktop
