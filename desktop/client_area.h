#pragma once
// The client area of the game window: it paints what the session plans, at most once per
// display frame, and reports mouse presses and releases in units of the 100 by 100 coordinate
// system.

#include <QElapsedTimer>
#include <QPointF>
#include <QRegion>
#include <QTimer>
#include <QWidget>
#include <cstdint>

#include "frame_painter.h"
#include "host/session.h"
#include "screen/mouse_button.h"

namespace pirune::desktop {

class ClientArea : public QWidget {
  Q_OBJECT

 public:
  ClientArea(HostSession& session, FramePainter& painter, QWidget* parent);

  // These pixels changed: they are painted with the next frame.
  void invalidate(const Region& changed);

 signals:
  void pressed(pirune::MouseButton button, std::int16_t shift, QPointF units);
  void released(pirune::MouseButton button, QPointF units);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  // Qt turns a quick second press into a double click; for the game it is one more press.
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  [[nodiscard]] QPointF toUnits(QPointF pixels) const;
  void paintChanges();

  HostSession& session_;
  FramePainter& painter_;
  // What changed since the last frame.
  QRegion unpainted_;
  QTimer frameTimer_;
  QElapsedTimer sinceFrame_;
};

}  // namespace pirune::desktop
