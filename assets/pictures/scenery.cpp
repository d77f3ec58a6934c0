#include "scenery.h"

#include <QLinearGradient>
#include <QPolygonF>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace pirune::pictures {
namespace {

const QColor kDusk{214, 178, 200};

qreal smoothstep(qreal edge0, qreal edge1, qreal x) {
  const qreal t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
  return t * t * (3.0 - 2.0 * t);
}

QPainterPath diamond(QPointF centre, qreal along, qreal across, qreal degrees) {
  QPolygonF shape({{along, 0.0}, {0.0, across}, {-along, 0.0}, {0.0, -across}});
  QTransform turn;
  turn.translate(centre.x(), centre.y());
  turn.rotate(degrees);
  QPainterPath path;
  path.addPolygon(turn.map(shape));
  path.closeSubpath();
  return path;
}

}  // namespace

QImage canvas(QSize size, const QColor& fill) {
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  image.fill(fill);
  return image;
}

QImage onPaper(const QImage& scene, qreal bandEnd, qreal fadeEnd) {
  QImage page = scene.convertToFormat(QImage::Format_RGB32);
  const qreal h = page.height();
  const qreal w = page.width();
  for (int y = 0; y < page.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(page.scanLine(y));
    for (int x = 0; x < page.width(); ++x) {
      const qreal u = x / w;
      const qreal waver = 0.012 * std::sin(u * 2.0 * std::numbers::pi * 1.5 + 0.7) +
                          0.006 * std::sin(u * 2.0 * std::numbers::pi * 4.0 + 2.1);
      const qreal keep = smoothstep(bandEnd + waver, fadeEnd + waver, y / h);
      const QRgb s = line[x];
      // Paper to night by way of a rosy dusk, not through grey.
      const auto mix = [keep](int paper, int dusk, int ink) {
        const qreal near = paper + (dusk - paper) * keep;
        const qreal far = dusk + (ink - dusk) * keep;
        return static_cast<int>(std::lround(near + (far - near) * keep));
      };
      line[x] = qRgb(mix(colour::kPaper.red(), kDusk.red(), qRed(s)),
                     mix(colour::kPaper.green(), kDusk.green(), qGreen(s)),
                     mix(colour::kPaper.blue(), kDusk.blue(), qBlue(s)));
    }
  }
  return page;
}

void paintNightSky(QPainter& painter, QSize size, const QColor& horizon) {
  QLinearGradient sky(0, 0, 0, size.height());
  sky.setColorAt(0.0, colour::kDeepNight);
  sky.setColorAt(0.58, colour::kNightHigh);
  sky.setColorAt(1.0, horizon);
  painter.fillRect(QRect(QPoint(0, 0), size), sky);
}

void paintStars(QPainter& painter, const QRectF& area, int count, quint32 seed) {
  QRandomGenerator random(seed);
  painter.save();
  painter.setPen(Qt::NoPen);
  for (int i = 0; i < count; ++i) {
    const QPointF at(area.left() + random.generateDouble() * area.width(),
                     area.top() + random.generateDouble() * area.height());
    const qreal size = 0.5 + std::pow(random.generateDouble(), 3.0) * 1.6;
    const int alpha = 110 + static_cast<int>(random.bounded(146));
    QColor c = random.bounded(4) == 0 ? colour::kStarGold : colour::kStarWhite;
    c.setAlpha(alpha);
    painter.setBrush(c);
    painter.drawEllipse(at, size, size);
    if (size > 1.5) {  // the brighter ones twinkle
      c.setAlpha(alpha / 2);
      painter.setBrush(c);
      painter.drawPath(diamond(at, size * 3.2, size * 0.35, 0.0));
      painter.drawPath(diamond(at, size * 3.2, size * 0.35, 90.0));
    }
  }
  painter.restore();
}

void paintGlow(QPainter& painter, QPointF centre, qreal radius, const QColor& colour, int alpha) {
  QRadialGradient glow(centre, radius);
  QColor inner = colour;
  inner.setAlpha(alpha);
  QColor middle = colour;
  middle.setAlpha(alpha / 4);
  QColor outer = colour;
  outer.setAlpha(0);
  glow.setColorAt(0.0, inner);
  glow.setColorAt(0.35, middle);
  glow.setColorAt(1.0, outer);
  painter.save();
  painter.setPen(Qt::NoPen);
  painter.setBrush(glow);
  painter.drawEllipse(centre, radius, radius);
  painter.restore();
}

void paintShiningStar(QPainter& painter, QPointF centre, qreal radius) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  paintGlow(painter, centre, radius * 2.4, colour::kStarGold, 150);
  QColor ray = colour::kStarGold;
  painter.setBrush(ray);
  painter.drawPath(diamond(centre, radius, radius * 0.12, 0.0));
  painter.drawPath(diamond(centre, radius, radius * 0.12, 90.0));
  ray.setAlpha(190);
  painter.setBrush(ray);
  painter.drawPath(diamond(centre, radius * 0.5, radius * 0.09, 45.0));
  painter.drawPath(diamond(centre, radius * 0.5, radius * 0.09, 135.0));
  paintGlow(painter, centre, radius * 0.45, colour::kStarWhite, 255);
  painter.setBrush(colour::kStarWhite);
  painter.drawEllipse(centre, radius * 0.1, radius * 0.1);
  painter.restore();
}

void paintSparkTrail(QPainter& painter, QPointF from, QPointF to, qreal bow, int sparks) {
  painter.save();
  painter.setPen(Qt::NoPen);
  for (int i = 0; i < sparks; ++i) {
    const qreal t = static_cast<qreal>(i) / sparks;
    const QPointF at = from + (to - from) * t + QPointF(0, -4.0 * bow * t * (1 - t));
    QColor spark = colour::kStarGold;
    spark.setAlpha(static_cast<int>(60 + 150 * t));
    painter.setBrush(spark);
    painter.drawEllipse(at, 0.8 + 1.4 * t, 0.8 + 1.4 * t);
  }
  painter.restore();
}

QPainterPath ridge(qreal width, qreal height, qreal baseY, qreal amplitude, qreal waves,
                   qreal phase) {
  QPolygonF outline;
  outline << QPointF(0.0, height);
  constexpr int kSteps = 96;
  for (int i = 0; i <= kSteps; ++i) {
    const qreal u = static_cast<qreal>(i) / kSteps;
    const qreal a = u * waves * 2.0 * std::numbers::pi + phase;
    const qreal y = baseY - amplitude * (0.7 * std::sin(a) + 0.3 * std::sin(2.3 * a + 1.3));
    outline << QPointF(u * width, y);
  }
  outline << QPointF(width, height);
  QPainterPath path;
  path.addPolygon(outline);
  path.closeSubpath();
  return path;
}

QFont japaneseFont(qreal pixelSize) {
  QFont font(QStringLiteral("IPAGothic"));
  font.setPixelSize(static_cast<int>(std::lround(pixelSize)));
  font.setStyleHint(QFont::SansSerif);
  return font;
}

}  // namespace pirune::pictures
