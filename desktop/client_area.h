#pragma once
// The client area of the game window: it paints what the session plans, at most once per
// display frame, and reports mouse presses and releases at the pixel they fell on, and the Esc
// key that ends the watching of a flight. It keeps no timer: what waits for the next frame is
// painted when the window next wakes.

#include <QElapsedTimer>
#include <QPoint>
#include <QRegion>
#include <QWidget>
#include <cstdint>

#include "frame_painter.h"
#include "host/session.h"
#include "screen/mouse_button.h"
#include "screen/pointer_units.h"

namespace pirune::desktop {

class ClientArea : public QWidget {
  Q_OBJECT

 public:
  ClientArea(HostSession& session, FramePainter& painter, QWidget* parent);

  // These pixels changed: painted at once when a frame has passed since the last paint began,
  // else with the next frame, which frameWanted asks the window to wake for.
  void invalidate(const Region& changed);
  // What changed, painted now; the window calls it no sooner than msToNextFrame().
  void paintChanges();
  [[nodiscard]] bool unpainted() const { return !unpainted_.isEmpty(); }
  // Whole milliseconds until the next paint may begin: 0 once a frame has passed.
  [[nodiscard]] int msToNextFrame() const;

 signals:
  void pressed(pirune::MouseButton button, pirune::HeldKeys keys, QPoint pixel);
  void released(pirune::MouseButton button, QPoint pixel);
  void escapePressed();
  // Something changed that waits for the next frame.
  void frameWanted();
  // A paint began: the next one waits a frame from now.
  void framePainted();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  // Qt turns a quick second press into a double click; for the game it is one more press.
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  HostSession& session_;
  FramePainter& painter_;
  // What changed since the last frame.
  QRegion unpainted_;
  QElapsedTimer sinceFrame_;
};

}  // namespace pirune::desktop
