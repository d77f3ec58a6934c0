#pragma once
// The client area of the game window: it paints what the session plans, at most once per
// display frame, and reports mouse presses and releases at the pixel they fell on, and the Esc
// key that ends the watching of a flight.

#include <QElapsedTimer>
#include <QPoint>
#include <QRegion>
#include <QTimer>
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

  // These pixels changed: they are painted with the next frame.
  void invalidate(const Region& changed);

 signals:
  void pressed(pirune::MouseButton button, pirune::HeldKeys keys, QPoint pixel);
  void released(pirune::MouseButton button, QPoint pixel);
  void escapePressed();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  // Qt turns a quick second press into a double click; for the game it is one more press.
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void paintChanges();

  HostSession& session_;
  FramePainter& painter_;
  // What changed since the last frame.
  QRegion unpainted_;
  QTimer frameTimer_;
  QElapsedTimer sinceFrame_;
};

}  // namespace pirune::desktop
