#include <QLinearGradient>
#include <QList>
#include <QPainter>

#include "pictures.h"
#include "scenery.h"

namespace pirune::pictures {
namespace {

constexpr int kPaletteSize = 256;

// Drawn on a 16 by 16 grid and scaled, so that every size shows the same picture.
void paintIcon(QPainter& painter, int size, bool roundCorners) {
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / 16.0, size / 16.0);
  QLinearGradient sky(0, 0, 0, 16);
  sky.setColorAt(0.0, colour::kDeepNight);
  sky.setColorAt(1.0, colour::kNightLow);
  painter.setPen(Qt::NoPen);
  painter.setBrush(sky);
  if (roundCorners) {
    painter.drawRoundedRect(QRectF(0, 0, 16, 16), 3.0, 3.0);
  } else {
    painter.drawRect(QRectF(0, 0, 16, 16));
  }
  paintShiningStar(painter, {11.5, 4.5}, 4.0);
  painter.setBrush(colour::kWax);
  painter.drawPath(wing({2.6, 14.6}, {1.4, 5.0}, {8.8, 5.0},
                        {{9.0, 7.6}, {8.2, 10.0}, {6.8, 12.2}, {4.8, 14.2}}, 1.0, 0.45));
}

}  // namespace

QImage icon(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  paintIcon(painter, size, true);
  painter.end();
  return image;
}

QImage windowIcon() {
  QImage drawn(16, 16, QImage::Format_RGB32);
  drawn.fill(Qt::black);
  {
    QPainter painter(&drawn);
    paintIcon(painter, 16, false);
  }
  // Sixteen by sixteen pixels have at most 256 colours: the palette holds each one exactly.
  QList<QRgb> palette;
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      if (!palette.contains(drawn.pixel(x, y))) {
        palette.append(drawn.pixel(x, y));
      }
    }
  }
  const qsizetype used = palette.size();
  while (palette.size() < kPaletteSize) {
    palette.append(qRgb(0, 0, 0));
  }
  QImage indexed(16, 16, QImage::Format_Indexed8);
  indexed.setColorTable(palette);
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      const auto index = palette.indexOf(drawn.pixel(x, y));
      indexed.setPixel(x, y, static_cast<uint>(index < used ? index : 0));
    }
  }
  return indexed;
}

}  // namespace pirune::pictures
