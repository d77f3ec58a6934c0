#include <QLinearGradient>
#include <QPainter>
#include <QTransform>

#include "pictures.h"
#include "scenery.h"

namespace pirune::pictures {
namespace {

constexpr qreal kW = kWindowPicture.width();
constexpr qreal kH = kWindowPicture.height();

QPainterPath centredText(const QString& text, const QFont& font, qreal centreY) {
  QPainterPath path;
  path.addText(0, 0, font, text);
  const QRectF box = path.boundingRect();
  return path.translated(kW / 2 - box.center().x(), centreY - box.center().y());
}

// Soft light behind a text: the same outline, wide and faint, several times over.
void paintHalo(QPainter& painter, const QPainterPath& text, const QColor& colour, qreal width) {
  for (int i = 5; i >= 1; --i) {
    QColor c = colour;
    c.setAlpha(22);
    painter.strokePath(text, QPen(c, width * i / 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  }
}

void paintSparkle(QPainter& painter, QPointF at, qreal size, const QColor& colour) {
  QPainterPath sparkle;
  sparkle.moveTo(at + QPointF(0, -size));
  sparkle.quadTo(at, at + QPointF(size, 0));
  sparkle.quadTo(at, at + QPointF(0, size));
  sparkle.quadTo(at, at + QPointF(-size, 0));
  sparkle.quadTo(at, at + QPointF(0, -size));
  painter.fillPath(sparkle, colour);
}

}  // namespace

QImage titlePicture() {
  QImage image = canvas(kWindowPicture, colour::kDeepNight);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);

  paintNightSky(painter, kWindowPicture, colour::kNightLow);
  paintStars(painter, QRectF(0, 0, kW, kH * 0.85), 170, 1);
  paintShiningStar(painter, {kW * 0.80, kH * 0.15}, 38.0);

  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(26, 33, 80));
  painter.drawPath(ridge(kW, kH, kH * 0.88, 10.0, 1.6, 1.0));
  painter.setBrush(colour::kSilhouette);
  painter.drawPath(ridge(kW, kH, kH * 0.95, 8.0, 1.1, 3.5));

  // The hero on his way up to the star.
  const QPointF hero(kW * 0.17, kH * 0.69);
  paintSparkTrail(painter, {kW * 0.0, kH * 0.86}, hero + QPointF(-8.0, 12.0), 8.0, 10);
  paintGlow(painter, hero, 46.0, colour::kStarWhite, 60);
  painter.setTransform(QTransform::fromTranslate(hero.x(), hero.y()).rotate(30).scale(0.5, 0.5));
  painter.setBrush(colour::kWax);
  painter.setPen(QPen(colour::kWaxShadow, 2.0));
  painter.drawPath(youthFlyingWings());
  painter.setPen(Qt::NoPen);
  painter.setBrush(colour::kYouth);
  painter.drawPath(youthFlyingBody());
  painter.resetTransform();

  const QPainterPath name = centredText(QStringLiteral("ピルネノ翼"), japaneseFont(66), kH * 0.40);
  paintHalo(painter, name, colour::kStarGold, 22.0);
  painter.strokePath(name,
                     QPen(colour::kSilhouette, 5.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  QLinearGradient gold(0, name.boundingRect().top(), 0, name.boundingRect().bottom());
  gold.setColorAt(0.0, colour::kStarWhite);
  gold.setColorAt(1.0, colour::kStarGold);
  painter.fillPath(name, gold);

  const QPainterPath motto = centredText(QStringLiteral("ピルネよ、君は何処までも飛んでいけ"),
                                         japaneseFont(15), kH * 0.51);
  painter.fillPath(motto, QColor(196, 206, 240));

  const QPainterPath start =
      centredText(QStringLiteral("クリックでスタート"), japaneseFont(22), kH * 0.82);
  paintHalo(painter, start, colour::kStarWhite, 12.0);
  painter.fillPath(start, colour::kPaper);
  const QRectF box = start.boundingRect();
  paintSparkle(painter, {box.left() - 18.0, box.center().y()}, 6.0, colour::kStarGold);
  paintSparkle(painter, {box.right() + 18.0, box.center().y()}, 6.0, colour::kStarGold);
  painter.end();
  return image.convertToFormat(QImage::Format_RGB32);
}

}  // namespace pirune::pictures
