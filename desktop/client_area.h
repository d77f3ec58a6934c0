#pragma once
// The client area of the game window: it shows the window model, repainting only what changed,
// and reports mouse presses and releases in units of the 100 by 100 coordinate system. Qt joins
// the changes asked for before it paints into one paint; the window timers tick at most once a
// display frame, so the flight never asks for more.

#include <QPointF>
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

  // Takes what the model changed since it was last asked, and has it painted.
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

  const WindowModel& model_;
  std::optional<std::uint64_t> shownRevision_;
  DamageTracker damage_;
  TextPlacement textPlacement_;
};

}  // namespace pirune::desktop
