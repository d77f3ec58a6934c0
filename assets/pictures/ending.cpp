#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <QTransform>

#include "pictures.h"
#include "scenery.h"

namespace pirune::pictures {
namespace {

constexpr qreal kW = kWindowPicture.width();
constexpr qreal kH = kWindowPicture.height();
constexpr qreal kBandEnd = 0.24;
constexpr qreal kFadeEnd = 0.42;

const QColor kRock{112, 74, 50};

void paintNight(QPainter& painter, quint32 starSeed, int stars) {
  paintNightSky(painter, kWindowPicture, QColor(70, 62, 120));  // a violet glow on the horizon
  paintStars(painter, QRectF(0, kH * 0.22, kW, kH * 0.7), stars, starSeed);
}

// The blue world he came from, small and far, lit from the right.
void paintHomeWorld(QPainter& painter, QPointF centre, qreal radius) {
  QRadialGradient body(centre + QPointF(radius * 0.4, -radius * 0.4), radius * 1.6);
  body.setColorAt(0.0, QColor(150, 200, 240));
  body.setColorAt(0.6, QColor(60, 110, 180));
  body.setColorAt(1.0, QColor(20, 30, 80));
  painter.setPen(Qt::NoPen);
  painter.setBrush(body);
  painter.drawEllipse(centre, radius, radius);
}

// Rocks and craters on sand, scattered by a fixed seed.
void paintRubble(QPainter& painter, const QPainterPath& ground, quint32 seed, int count) {
  QRandomGenerator random(seed);
  painter.save();
  painter.setClipPath(ground);
  painter.setPen(Qt::NoPen);
  for (int i = 0; i < count; ++i) {
    const QPointF at(random.generateDouble() * kW, kH * (0.66 + random.generateDouble() * 0.34));
    const qreal depth = (at.y() - kH * 0.6) / (kH * 0.4);  // nearer is bigger
    const qreal size = (1.5 + random.generateDouble() * 3.5) * (0.5 + depth);
    painter.setBrush(kRock);
    painter.drawEllipse(at, size * 1.6, size);
    painter.setBrush(colour::kSandLight);
    painter.drawEllipse(at - QPointF(size * 0.5, size * 0.45), size * 0.7, size * 0.3);
  }
  painter.restore();
}

void paintCrater(QPainter& painter, QPointF centre, qreal rx, qreal ry) {
  painter.setPen(Qt::NoPen);
  painter.setBrush(colour::kSandDark);
  painter.drawEllipse(centre, rx, ry);
  painter.setBrush(colour::kSand);
  painter.drawEllipse(centre + QPointF(rx * 0.08, ry * 0.22), rx * 0.86, ry * 0.72);
  painter.setPen(QPen(colour::kSandLight, 1.5));
  painter.setBrush(Qt::NoBrush);
  painter.drawArc(QRectF(centre.x() - rx, centre.y() - ry, 2 * rx, 2 * ry), 200 * 16, 140 * 16);
}

}  // namespace

QImage endingDesert() {
  QImage scene = canvas(kWindowPicture, colour::kNightHigh);
  QPainter painter(&scene);
  painter.setRenderHint(QPainter::Antialiasing);
  paintNight(painter, 31, 90);
  paintHomeWorld(painter, {kW * 0.18, kH * 0.47}, 13.0);

  // The star is small: its horizon bends.
  QPainterPath ground;
  ground.addEllipse(QPointF(kW * 0.5, kH * 0.66 + kW * 1.6), kW * 1.6, kW * 1.6);
  QLinearGradient sand(0, kH * 0.62, 0, kH);
  sand.setColorAt(0.0, colour::kSandLight);
  sand.setColorAt(0.5, colour::kSand);
  sand.setColorAt(1.0, colour::kSandDark);
  painter.setPen(Qt::NoPen);
  painter.setBrush(sand);
  painter.drawPath(ground);

  painter.save();
  painter.setClipPath(ground);
  QColor dune = colour::kSandDark;
  dune.setAlpha(90);
  painter.setBrush(dune);
  painter.drawPath(ridge(kW, kH, kH * 0.78, 12.0, 0.9, 0.3));
  dune.setAlpha(120);
  painter.setBrush(dune);
  painter.drawPath(ridge(kW, kH, kH * 0.92, 10.0, 0.7, 2.4));
  painter.restore();

  paintCrater(painter, {kW * 0.22, kH * 0.83}, 42.0, 11.0);
  paintCrater(painter, {kW * 0.83, kH * 0.72}, 22.0, 5.0);
  paintRubble(painter, ground, 32, 26);

  // His footprints, from where he came down to where he stands.
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(120, 82, 52, 170));
  for (int i = 0; i < 9; ++i) {
    const qreal t = i / 9.0;
    const QPointF at(kW * (0.36 + 0.25 * t), kH * (0.97 - 0.215 * t) + ((i % 2) ? 2.5 : -2.5));
    painter.drawEllipse(at, 3.4 - 1.6 * t, 1.5 - 0.6 * t);
  }

  const QPointF feet(kW * 0.62, kH * 0.745);
  painter.setTransform(QTransform::fromTranslate(feet.x(), feet.y()).scale(0.62, 0.62));
  // Wings hanging from his back, dull now: the wax has run.
  const QPainterPath wings = wing(
      {-2.0, -74.0}, {-30.0, -84.0}, {-34.0, -26.0},
      {{-27.0, -33.0}, {-20.0, -42.0}, {-14.0, -51.0}, {-8.0, -59.0}, {-2.0, -64.0}}, -3.5, 1.4);
  painter.setBrush(QColor(150, 112, 78));
  painter.setPen(QPen(colour::kSilhouette, 1.4));
  painter.drawPath(wings);
  painter.setPen(Qt::NoPen);
  painter.setBrush(colour::kSilhouette);
  painter.drawPath(youthStanding(false));
  painter.end();
  return onPaper(scene, kBandEnd, kFadeEnd);
}

QImage endingFarStar() {
  QImage scene = canvas(kWindowPicture, colour::kNightHigh);
  QPainter painter(&scene);
  painter.setRenderHint(QPainter::Antialiasing);
  paintNight(painter, 41, 150);
  paintShiningStar(painter, {kW * 0.22, kH * 0.46}, 16.0);

  // Seen from afar his star shines; close to, it is a ball of sand.
  const QPointF centre(kW * 0.62, kH * 0.86);
  const qreal radius = kW * 0.22;
  QRadialGradient shine(centre, radius * 2.2);
  shine.setColorAt(0.0, QColor(255, 214, 110, 160));
  shine.setColorAt(1.0 / 2.2, QColor(255, 214, 110, 120));
  shine.setColorAt(0.62, QColor(255, 214, 110, 40));
  shine.setColorAt(1.0, QColor(255, 214, 110, 0));
  painter.setPen(Qt::NoPen);
  painter.setBrush(shine);
  painter.drawEllipse(centre, radius * 2.2, radius * 2.2);
  QRadialGradient ball(centre + QPointF(-radius * 0.35, -radius * 0.45), radius * 1.5);
  ball.setColorAt(0.0, colour::kSandLight);
  ball.setColorAt(0.55, colour::kSand);
  ball.setColorAt(1.0, QColor(90, 60, 48));
  painter.setPen(Qt::NoPen);
  painter.setBrush(ball);
  painter.drawEllipse(centre, radius, radius);
  painter.setBrush(QColor(150, 104, 66, 140));
  painter.drawEllipse(centre + QPointF(-radius * 0.45, radius * 0.05), radius * 0.16, radius * 0.1);
  painter.drawEllipse(centre + QPointF(radius * 0.35, radius * 0.2), radius * 0.22, radius * 0.12);
  painter.drawEllipse(centre + QPointF(-radius * 0.05, -radius * 0.45), radius * 0.1,
                      radius * 0.05);
  // The last of the light it gives, only at its rim.
  painter.setBrush(Qt::NoBrush);
  for (int i = 0; i < 4; ++i) {
    QColor rim = colour::kStarGold;
    rim.setAlpha(70 - 15 * i);
    painter.setPen(QPen(rim, 2.0 + 2.5 * i));
    painter.drawEllipse(centre, radius - 1.0 - 1.2 * i, radius - 1.0 - 1.2 * i);
  }
  painter.setPen(Qt::NoPen);

  // He sits on top and looks back towards the far light; his wings lie beside him.
  const QPointF seat(centre.x() + 10.0, centre.y() - radius + 2.0);
  painter.setTransform(QTransform::fromTranslate(seat.x(), seat.y()).scale(-0.72, 0.72));
  painter.setBrush(colour::kWaxShadow);
  painter.drawPath(wing({-28.0, -1.0}, {-42.0, -16.0}, {-64.0, -2.0},
                        {{-57.0, 0.0}, {-49.0, 0.5}, {-41.0, 0.5}, {-33.0, 0.0}}, 1.5, 1.0));
  painter.setBrush(colour::kSilhouette);
  painter.drawPath(youthSitting());
  painter.end();
  return onPaper(scene, kBandEnd, kFadeEnd);
}

}  // namespace pirune::pictures
