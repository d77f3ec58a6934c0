#pragma once
// Paints the game window as the model says: black, then every visible control back to front,
// each clipped to the client area.

#include <QPainter>
#include <QRect>
#include <QRectF>
#include <QRegion>
#include <QString>
#include <QTextOption>

#include "screen/controls.h"
#include "screen/window_model.h"

namespace pirune::desktop {

// Where a label's text lies once laid out. Laying text out is the dearest part of a frame and
// the text rarely changes, so the layout is kept until the text, its box or its font change.
class TextPlacement {
 public:
  // The pixels that `text` laid out in `box` at `points` may touch.
  [[nodiscard]] QRect ink(QPainter& painter, const QRectF& box, const QString& text,
                          const QTextOption& option, float points);

 private:
  QRectF box_;
  QString text_;
  float points_ = 0;
  Qt::Alignment alignment_;
  QRect ink_;
  bool known_ = false;
};

// `client` is the client area in the painter's pixels; the model's 100 by 100 units map onto it.
// A frame paints only `dirty` (the painter is clipped to it), so the label's text is skipped
// where it lies outside; `placement` remembers where that is from frame to frame.
void paintWindow(QPainter& painter, const WindowModel& window, const QRect& client,
                 const QRegion& dirty, TextPlacement& placement);

[[nodiscard]] QRectF toPixels(const Rect& units, const QRect& client);

}  // namespace pirune::desktop
