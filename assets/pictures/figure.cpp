#include "figure.h"

#include <QLineF>
#include <QPainterPathStroker>
#include <QPolygonF>
#include <QTransform>
#include <algorithm>
#include <cstddef>
#include <vector>

namespace pirune::pictures {
namespace {

QPainterPath ellipse(QPointF centre, qreal rx, qreal ry) {
  QPainterPath path;
  path.addEllipse(centre, rx, ry);
  return path;
}

QPainterPath limb(QPointF from, QPointF to, qreal width) {
  QPainterPath line(from);
  line.lineTo(to);
  QPainterPathStroker stroker;
  stroker.setWidth(width);
  stroker.setCapStyle(Qt::RoundCap);
  stroker.setJoinStyle(Qt::RoundJoin);
  return stroker.createStroke(line).simplified();
}

QPainterPath mirrored(const QPainterPath& path, qreal axisX) {
  return QTransform(-1, 0, 0, 1, 2 * axisX, 0).map(path);
}

}  // namespace

QPainterPath taper(QPointF from, QPointF to, qreal fromWidth, qreal toWidth) {
  const QLineF axis(from, to);
  const QPointF unit = (to - from) / std::max(axis.length(), 1e-9);
  const QPointF side(-unit.y(), unit.x());
  QPainterPath path;
  path.addPolygon(QPolygonF({from + side * fromWidth / 2, to + side * toWidth / 2,
                             to - side * toWidth / 2, from - side * fromWidth / 2}));
  path.closeSubpath();
  path = path.united(ellipse(from, fromWidth / 2, fromWidth / 2));
  return path.united(ellipse(to, toWidth / 2, toWidth / 2));
}

QPainterPath wing(QPointF root, QPointF bend, QPointF tip, std::initializer_list<QPointF> feathers,
                  qreal bulge, qreal slit) {
  QPainterPath path(root);
  path.quadTo(bend, tip);
  QPointF from = tip;
  for (const QPointF to : feathers) {
    const QLineF edge(from, to);
    const QPointF outward = QPointF(edge.dy(), -edge.dx()) / std::max(edge.length(), 1e-9);
    path.quadTo((from + to) / 2 + outward * bulge, to);
    from = to;
  }
  path.closeSubpath();
  // Between two feather ends a slit runs back towards the root.
  const std::vector<QPointF> ends(feathers);
  for (std::size_t i = 0; slit > 0.0 && i + 1 < ends.size(); ++i) {
    const QPointF inner = ends[i] + (bend - ends[i]) * 0.5;
    path = path.subtracted(taper(ends[i], inner, slit, slit * 0.2));
  }
  return path;
}

QPainterPath heroBody() {
  const qreal mid = kHeroSeen.center().x();
  QPainterPath body = ellipse({mid, 21.0}, 6.4, 7.0);
  body = body.united(limb({mid, 26.0}, {mid, 33.0}, 4.6));
  body = body.united(taper({mid, 38.5}, {mid, 66.0}, 15.0, 10.0));
  const QPainterPath leftLeg = taper({mid - 2.6, 68.0}, {mid - 2.3, 127.0}, 6.8, 3.0);
  body = body.united(leftLeg).united(mirrored(leftLeg, mid));
  return body;
}

QPainterPath heroWings(WingPose pose) {
  const qreal mid = kHeroSeen.center().x();
  // Up: the wings rise beside the head to above it. Down: they hang along his sides, the
  // feathers pointing to his feet.
  const QPainterPath left =
      pose == WingPose::Up
          ? wing({mid - 5.0, 37.0}, {mid - 10.0, 22.0}, {mid - 17.0, 1.5},
                 {{4.5, 12.0}, {4.0, 22.0}, {4.5, 31.0}, {7.5, 39.0}, {mid - 8.0, 47.0}}, -3.6, 1.6)
          : wing({mid - 5.0, 34.0}, {1.0, 30.0}, {1.5, 95.0},
                 {{6.0, 87.0}, {9.0, 78.0}, {11.5, 68.0}, {13.5, 58.0}, {14.5, 46.0}}, -3.0, 1.6);
  return left.united(mirrored(left, mid));
}

QPainterPath youthStanding(bool reachingUp) {
  QPainterPath body = ellipse({1.0, -88.0}, 6.5, 7.2);  // head tilted back a little
  body = body.united(limb({0.0, -82.0}, {0.0, -76.0}, 5.0));
  body = body.united(taper({0.0, -70.0}, {0.0, -44.0}, 14.0, 11.0));
  body = body.united(taper({-2.5, -44.0}, {-5.0, -3.0}, 7.0, 4.5));
  body = body.united(taper({2.5, -44.0}, {6.0, -3.0}, 7.0, 4.5));
  body = body.united(limb({-5.5, -2.0}, {-10.0, -1.0}, 4.0));  // feet
  body = body.united(limb({6.0, -2.0}, {11.0, -1.0}, 4.0));
  body = body.united(reachingUp ? taper({5.0, -72.0}, {16.0, -104.0}, 4.6, 3.4)
                                : taper({5.0, -71.0}, {8.0, -47.0}, 4.4, 3.4));
  body = body.united(taper({-5.0, -71.0}, {-9.0, -47.0}, 4.4, 3.4));
  // Hair, blown back a little.
  QPainterPath hair(QPointF(-6.5, -90.0));
  hair.quadTo(-9.0, -99.0, 0.0, -96.5);
  hair.quadTo(7.5, -95.0, 7.0, -89.0);
  hair.closeSubpath();
  return body.united(hair);
}

QPainterPath youthFlyingBody() {
  QPainterPath body = ellipse({0.0, -52.0}, 8.0, 8.6);
  body = body.united(limb({0.0, -45.0}, {0.0, -38.0}, 6.0));
  body = body.united(taper({0.0, -31.0}, {0.0, -2.0}, 19.0, 13.0));
  const QPainterPath leftLeg = taper({-3.4, 0.0}, {-2.6, 50.0}, 8.6, 4.0);
  body = body.united(leftLeg).united(mirrored(leftLeg, 0.0));
  body = body.united(taper({6.0, -33.0}, {15.0, -62.0}, 5.6, 4.2));  // reaching for the star
  QPainterPath hair(QPointF(-8.0, -54.0));
  hair.quadTo(-10.0, -64.0, 0.0, -62.0);
  hair.quadTo(9.0, -61.0, 8.0, -54.0);
  hair.closeSubpath();
  return body.united(hair);
}

QPainterPath youthFlyingWings() {
  constexpr qreal kShoulder = -32.0;
  const QPainterPath left =
      wing({-6.0, kShoulder}, {-30.0, kShoulder - 62.0}, {-86.0, kShoulder - 64.0},
           {{-84.0, kShoulder - 44.0},
            {-76.0, kShoulder - 27.0},
            {-64.0, kShoulder - 13.0},
            {-49.0, kShoulder - 2.0},
            {-32.0, kShoulder + 7.0},
            {-10.0, kShoulder + 14.0}},
           -5.0, 2.2);
  return left.united(mirrored(left, 0.0));
}

QPainterPath youthSitting() {
  QPainterPath body = ellipse({0.0, -62.0}, 6.5, 7.2);
  body = body.united(limb({0.0, -56.0}, {-0.5, -50.0}, 5.0));
  body = body.united(taper({-1.0, -46.0}, {-3.0, -18.0}, 13.0, 12.0));  // back, slightly bent
  body = body.united(taper({-2.0, -14.0}, {16.0, -28.0}, 9.0, 7.0));    // thigh up to the knee
  body = body.united(taper({16.0, -28.0}, {20.0, -3.0}, 7.0, 4.5));     // shin down to the foot
  body = body.united(limb({20.0, -2.5}, {26.0, -2.0}, 4.0));
  body = body.united(taper({2.0, -44.0}, {15.0, -31.0}, 4.4, 3.6));  // arms round the knees
  QPainterPath hair(QPointF(-6.5, -64.0));
  hair.quadTo(-8.0, -72.0, 0.0, -70.5);
  hair.quadTo(7.0, -70.0, 6.5, -64.0);
  hair.closeSubpath();
  return body.united(hair);
}

}  // namespace pirune::pictures
