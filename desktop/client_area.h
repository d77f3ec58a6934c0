#pragma once
// The client area of the game window: it shows the window model, repainting only what changed
// and at most once per display frame, and reports mouse presses and releases in units of the
// 100 by 100 coordinate system.

#include <QElapsedTimer>
#include <QPointF>
#include <QRegion>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <optional>

#include "damage.h"
#include "renderer.h"
#include "screen/mouse_button.h"
#include "screen/window_model.h"

namespace pirune::desktop {

class ClientArea : public QWidget {
  Q_OBJECT

 public:
  ClientArea(const WindowModel& model, QWidget* parent);

  // Takes what the model changed since it was last asked, and paints it with the next frame.
  void showChanges();

 signals:
  void pressed(pirune::MouseButton button, std::int16_t shift, QPointF units);
  void released(pirune::MouseButton button, QPointF units);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  // Qt turns a quick second press into a double click; for the game it is one more press.
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  [[nodiscard]] QPointF toUnits(QPointF pixels) const;
  void press(QMouseEvent* event);
  void paintFrame();

  const WindowModel& model_;
  std::optional<std::uint64_t> shownRevision_;
  DamageTracker damage_;
  // What the model changed since the last frame, in the client area's pixels.
  QRegion unpainted_;
  QTimer frameTimer_;
  QElapsedTimer sinceFrame_;
  TextPlacement textPlacement_;
};

}  // namespace pirune::desktop
