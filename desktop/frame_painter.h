#pragma once
// Draws a frame as the session planned it, with QPainter, and measures the label's text for the
// plan in the very font it draws it in (a face that shows Japanese), so that a line fits where
// the session broke it.

#include <QFont>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <optional>
#include <vector>

#include "host/paint_plan.h"

namespace pirune::desktop {

inline constexpr double kPointsPerInch = 72;

class FramePainter {
 public:
  // For `device`, the window the frames are drawn on.
  explicit FramePainter(const QPaintDevice& device);

  // For the session; valid as long as this painter is.
  [[nodiscard]] FontMetrics fontMetrics();
  void paint(QPainter& painter, const std::vector<PaintStep>& steps);

 private:
  // The label font at this size, kept until the size changes: the label keeps one for long.
  const QFontMetricsF& sized(double fontPixels);

  const QPaintDevice& device_;
  double fontPixels_ = 0;
  QFont font_;
  std::optional<QFontMetricsF> metrics_;
};

}  // namespace pirune::desktop
