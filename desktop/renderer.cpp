#include "renderer.h"

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QTextOption>

#include "qt_picture.h"

namespace pirune::desktop {

namespace {

// A face that shows Japanese, at the label's size in points.
QFont labelFont(float points) {
  QFont font;
  font.setFamilies({QStringLiteral("IPAGothic"), QStringLiteral("IPAPGothic"),
                    QStringLiteral("Noto Sans CJK JP"), QStringLiteral("VL Gothic")});
  font.setStyleHint(QFont::SansSerif);
  font.setPointSizeF(points > 0 ? points : 1);
  return font;
}

QColor toQColor(Color color) { return {color.red, color.green, color.blue}; }

void paintImage(QPainter& painter, const Image& image, const QRect& client) {
  if (!image.Picture()) {
    return;
  }
  const QImage* pixels = imageOf(*image.Picture());
  if (pixels == nullptr) {
    return;
  }
  const QRectF target = toPixels(image.rect(), client);
  if (image.Stretch()) {
    painter.drawImage(target, *pixels);
  } else {
    painter.drawImage(target.topLeft(), *pixels);
  }
}

void paintShape(QPainter& painter, const Shape& shape, const QRect& client) {
  painter.fillRect(toPixels(shape.rect(), client), toQColor(shape.BackColor()));
}

void paintLabel(QPainter& painter, const Label& label, const QRect& client, const QRegion& dirty,
                TextPlacement& placement) {
  const QRectF box = toPixels(label.rect(), client);
  QString text = QString::fromStdU16String(label.Caption());
  if (text.isEmpty() || box.isEmpty()) {
    return;
  }
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));

  QTextOption option(Qt::AlignTop | (label.TextAlignment() == Alignment::Center  ? Qt::AlignHCenter
                                     : label.TextAlignment() == Alignment::Right ? Qt::AlignRight
                                                                                 : Qt::AlignLeft));
  // Japanese lines break between characters; a run too long for the label breaks anywhere.
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);

  if (!dirty.intersects(placement.ink(painter, box, text, option, label.FontSize()))) {
    return;
  }
  painter.save();
  painter.setClipRect(box.intersected(QRectF(client)), Qt::IntersectClip);
  painter.setFont(labelFont(label.FontSize()));
  painter.setPen(toQColor(label.ForeColor()));
  painter.drawText(box, text, option);
  painter.restore();
}

}  // namespace

QRectF toPixels(const Rect& units, const QRect& client) {
  const double sx = client.width() / static_cast<double>(kScaleWidth);
  const double sy = client.height() / static_cast<double>(kScaleHeight);
  return {client.left() + units.left * sx, client.top() + units.top * sy, units.width * sx,
          units.height * sy};
}

QRect TextPlacement::ink(QPainter& painter, const QRectF& box, const QString& text,
                         const QTextOption& option, float points) {
  if (known_ && box == box_ && text == text_ && points == points_ &&
      option.alignment() == alignment_) {
    return ink_;
  }
  box_ = box;
  text_ = text;
  points_ = points;
  alignment_ = option.alignment();
  painter.save();
  painter.setFont(labelFont(points));
  // Glyphs may reach a little beyond their advances; half a line is far more than any does.
  const qreal reach = QFontMetricsF(painter.font(), painter.device()).height() / 2;
  ink_ = painter.boundingRect(box, text, option)
             .adjusted(-reach, -reach, reach, reach)
             .toAlignedRect();
  painter.restore();
  known_ = true;
  return ink_;
}

void paintWindow(QPainter& painter, const WindowModel& window, const QRect& client,
                 const QRegion& dirty, TextPlacement& placement) {
  painter.save();
  painter.setClipRect(client);
  painter.fillRect(client, Qt::black);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.setRenderHint(QPainter::TextAntialiasing);
  for (const Control* control : window.paintList()) {
    switch (control->kind()) {
      case ControlKind::Image:
        paintImage(painter, static_cast<const Image&>(*control), client);
        break;
      case ControlKind::Shape:
        paintShape(painter, static_cast<const Shape&>(*control), client);
        break;
      case ControlKind::Label:
        paintLabel(painter, static_cast<const Label&>(*control), client, dirty, placement);
        break;
    }
  }
  painter.restore();
}

}  // namespace pirune::desktop
