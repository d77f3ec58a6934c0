#include <QPainter>
#include <QRandomGenerator>
#include <QTransform>

#include "pictures.h"
#include "scenery.h"

namespace pirune::pictures {
namespace {

constexpr qreal kW = kWindowPicture.width();
constexpr qreal kH = kWindowPicture.height();

// Where the paper ends and where the night is fully there, as fractions of the height.
constexpr qreal kBandEnd = 0.24;
constexpr qreal kFadeEnd = 0.42;

void paintNight(QPainter& painter, quint32 starSeed) {
  paintNightSky(painter, kWindowPicture, colour::kNightLow);
  paintStars(painter, QRectF(0, kH * 0.22, kW, kH * 0.58), 120, starSeed);
}

// Blades of grass along the top of a hill, leaning with the night wind.
QPainterPath grass(const QPainterPath& hill, qreal fromX, qreal toX, quint32 seed) {
  QRandomGenerator random(seed);
  QPainterPath blades;
  for (qreal x = fromX; x < toX; x += 3.0 + random.generateDouble() * 4.0) {
    qreal top = kH;
    for (qreal y = kH * 0.5; y < kH; y += 0.5) {
      if (hill.contains(QPointF(x, y))) {
        top = y;
        break;
      }
    }
    const qreal tall = 4.0 + random.generateDouble() * 7.0;
    blades.addPath(taper({x, top + 2.0}, {x + 2.5, top - tall}, 2.4, 0.6));
  }
  return blades;
}

}  // namespace

QImage openingNight() {
  QImage scene = canvas(kWindowPicture, colour::kNightHigh);
  QPainter painter(&scene);
  painter.setRenderHint(QPainter::Antialiasing);
  paintNight(painter, 11);
  paintShiningStar(painter, {kW * 0.70, kH * 0.47}, 30.0);

  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(26, 33, 80));
  painter.drawPath(ridge(kW, kH, kH * 0.86, 9.0, 1.4, 0.6));

  QPainterPath hill;
  hill.addEllipse(QPointF(kW * 0.30, kH * 1.30), kW * 0.62, kH * 0.42);
  hill = hill.united(grass(hill, kW * 0.02, kW * 0.62, 12));
  painter.setBrush(colour::kSilhouette);
  painter.drawPath(hill);

  const QPointF feet(kW * 0.30, kH * 0.88 + 1.0);
  painter.setTransform(QTransform::fromTranslate(feet.x(), feet.y()).scale(0.78, 0.78));
  painter.drawPath(youthStanding(true));
  painter.end();
  return onPaper(scene, kBandEnd, kFadeEnd);
}

QImage openingFlight() {
  QImage scene = canvas(kWindowPicture, colour::kNightHigh);
  QPainter painter(&scene);
  painter.setRenderHint(QPainter::Antialiasing);
  paintNight(painter, 21);
  const QPointF star(kW * 0.82, kH * 0.40);
  paintShiningStar(painter, star, 22.0);

  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(26, 33, 80));
  painter.drawPath(ridge(kW, kH, kH * 0.93, 6.0, 1.1, 2.0));
  QPainterPath hill;
  hill.addEllipse(QPointF(kW * 0.05, kH * 1.18), kW * 0.40, kH * 0.22);
  painter.setBrush(colour::kSilhouette);
  painter.drawPath(hill.united(grass(hill, 0.0, kW * 0.42, 22)));

  paintSparkTrail(painter, {kW * 0.20, kH * 0.90}, {kW * 0.47, kH * 0.66}, 18.0, 14);

  const QPointF centre(kW * 0.52, kH * 0.60);
  paintGlow(painter, centre, 80.0, colour::kStarWhite, 70);
  const QTransform flight =
      QTransform::fromTranslate(centre.x(), centre.y()).rotate(28).scale(0.8, 0.8);
  painter.setTransform(flight);
  painter.setBrush(colour::kWax);
  painter.setPen(QPen(colour::kWaxShadow, 1.6));
  painter.drawPath(youthFlyingWings());
  painter.setPen(Qt::NoPen);
  painter.setBrush(colour::kYouth);
  painter.drawPath(youthFlyingBody());
  painter.end();
  return onPaper(scene, kBandEnd, kFadeEnd);
}

}  // namespace pirune::pictures
