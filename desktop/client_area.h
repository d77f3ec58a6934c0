#pragma once
// The client area of the game window: it paints the model and hands mouse presses and releases
// to the game, in units of the 100 by 100 coordinate system.

#include <QPointF>
#include <QWidget>
#include <cstdint>
#include <functional>

#include "renderer.h"

namespace pirune {
class FOM;
}

namespace pirune::desktop {

class ErrorBoundary;

class ClientArea : public QWidget {
 public:
  ClientArea(FOM& form, ErrorBoundary& boundary, QWidget* parent);

  [[nodiscard]] QPointF toUnits(QPointF pixels) const;
  [[nodiscard]] int paintCount() const { return paintCount_; }
  // As every paint begins.
  std::function<void()> onPaint;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  // Qt turns a quick second press into a double click; for the game it is one more press.
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void press(QMouseEvent* event);

  FOM& form_;
  ErrorBoundary& boundary_;
  TextPlacement textPlacement_;
  int paintCount_ = 0;
};

}  // namespace pirune::desktop
