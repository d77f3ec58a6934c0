#pragma once
// The young man of the story, built from rounded limbs and fans of wax feathers, so that the
// hero of the flight and the youth of the pictures are one and the same figure.

#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <initializer_list>

namespace pirune::pictures {

enum class WingPose { Up, Down };

// The hero as the flight shows him: a frame stretched to about three times its width in height.
// Both paths are drawn in that seen shape, kHeroSeen, with the figure facing the player.
inline constexpr QRectF kHeroSeen{0.0, 0.0, 48.0, 137.0};
QPainterPath heroBody();
QPainterPath heroWings(WingPose pose);

// A youth standing with his feet at (0, 0), 100 units tall, facing right; one arm reaches up
// to the sky or both hang down.
QPainterPath youthStanding(bool reachingUp);
// The youth in flight, wings spread wide, one arm reaching ahead: centred on (0, 0), head up,
// about 120 units tall.
QPainterPath youthFlyingBody();
QPainterPath youthFlyingWings();
// The same youth sitting on the ground with his knees drawn up, facing right, feet at (0, 0).
QPainterPath youthSitting();

// Building blocks, also used for the scenery.
QPainterPath taper(QPointF from, QPointF to, qreal fromWidth, qreal toWidth);
// A wing: from `root` the leading edge bends through `bend` to `tip`; the trailing edge comes
// back from the tip through `feathers`, one rounded feather end between each two points, and
// closes at the last point. `bulge` is how far each feather end rounds out (negative: to the
// left of the way from the tip), `slit` how wide the gaps between the feathers are, which run back
// towards the bend.
QPainterPath wing(QPointF root, QPointF bend, QPointF tip, std::initializer_list<QPointF> feathers,
                  qreal bulge, qreal slit);

}  // namespace pirune::pictures
