#pragma once
// What the pictures share: one palette, the paper band at the top where the page's text is
// written, the night sky's stars, the longed-for star, ridges of hills and dunes, and the font.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>
#include <QSize>

namespace pirune::pictures {

namespace colour {
inline const QColor kPaper{248, 243, 230};
inline const QColor kNightHigh{18, 24, 66};
inline const QColor kNightLow{44, 58, 118};
inline const QColor kDeepNight{8, 11, 34};
inline const QColor kStarGold{255, 214, 110};
inline const QColor kStarWhite{255, 250, 228};
inline const QColor kWax{246, 222, 168};
inline const QColor kWaxShadow{214, 172, 104};
inline const QColor kSandLight{232, 196, 140};
inline const QColor kSand{206, 160, 104};
inline const QColor kSandDark{150, 104, 66};
inline const QColor kSilhouette{10, 13, 38};
inline const QColor kYouth{250, 246, 236};
}  // namespace colour

QImage canvas(QSize size, const QColor& fill);

// The scene, laid on paper so that it starts softly below the top band: fully paper above
// `bandEnd`, fully scene below `fadeEnd` (both as fractions of the height), with a gently
// wavering edge like paint on a page.
QImage onPaper(const QImage& scene, qreal bandEnd, qreal fadeEnd);

// The night of every picture: deep at the top, lighter down to `horizon`.
void paintNightSky(QPainter& painter, QSize size, const QColor& horizon);

// Small stars scattered over `area`, the same ones for the same seed.
void paintStars(QPainter& painter, const QRectF& area, int count, quint32 seed);

// A soft halo of `colour` fading out at `radius`.
void paintGlow(QPainter& painter, QPointF centre, qreal radius, const QColor& colour, int alpha);

// The star of the story: a golden halo, four long rays and four short ones, a white-hot heart.
void paintShiningStar(QPainter& painter, QPointF centre, qreal radius);

// Golden sparks left behind by the flying youth, growing brighter towards `to`, on an arc that
// bows upwards by `bow`.
void paintSparkTrail(QPainter& painter, QPointF from, QPointF to, qreal bow, int sparks);

// A ridge of hills or dunes across `width`: the ground below a line that wavers around `baseY`.
QPainterPath ridge(qreal width, qreal height, qreal baseY, qreal amplitude, qreal waves,
                   qreal phase);

QFont japaneseFont(qreal pixelSize);

}  // namespace pirune::pictures
