#pragma once
// Paints the game window as the model says: black, then every visible control back to front,
// each clipped to the client area.

#include <QFont>
#include <QPainter>
#include <QRect>
#include <QRectF>

#include "screen/controls.h"
#include "screen/window_model.h"

namespace pirune::desktop {

// `client` is the client area in the painter's pixels; the model's 100 by 100 units map onto it.
void paintWindow(QPainter& painter, const WindowModel& window, const QRect& client);

[[nodiscard]] QRectF toPixels(const Rect& units, const QRect& client);

// A face that shows Japanese, at the label's size in points.
[[nodiscard]] QFont labelFont(float points);

}  // namespace pirune::desktop
