#include "frame_painter.h"

#include <QColor>
#include <QPointF>
#include <QRect>
#include <QString>
#include <QStringList>
#include <cmath>

#include "qt_picture.h"

namespace pirune::desktop {

namespace {

QRect toQRect(const PixelRect& rect) { return {rect.left, rect.top, rect.width, rect.height}; }

QColor toQColor(Color color) { return {color.red, color.green, color.blue}; }

}  // namespace

FramePainter::FramePainter(const QPaintDevice& device) : device_(device) {
  font_.setFamilies({QStringLiteral("IPAGothic"), QStringLiteral("IPAPGothic"),
                     QStringLiteral("Noto Sans CJK JP"), QStringLiteral("VL Gothic")});
  font_.setStyleHint(QFont::SansSerif);
}

const QFontMetricsF& FramePainter::sized(double fontPixels) {
  if (!metrics_ || fontPixels != fontPixels_) {
    fontPixels_ = fontPixels;
    // Qt sizes a font in whole pixels or in points; points keep the fraction.
    font_.setPointSizeF(fontPixels * kPointsPerInch / device_.logicalDpiY());
    metrics_.emplace(font_, &device_);
  }
  return *metrics_;
}

FontMetrics FramePainter::fontMetrics() {
  return {[this](std::u16string_view text, double fontPixels) {
            return sized(fontPixels)
                .horizontalAdvance(
                    QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())));
          },
          // Qt's own layout puts each line on a whole pixel below the one before.
          [this](double fontPixels) { return std::ceil(sized(fontPixels).lineSpacing()); }};
}

void FramePainter::paint(QPainter& painter, const std::vector<PaintStep>& steps) {
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.setRenderHint(QPainter::TextAntialiasing);
  for (const PaintStep& step : steps) {
    if (const auto* fill = std::get_if<FillRect>(&step)) {
      painter.fillRect(toQRect(fill->rect), toQColor(fill->color));
    } else if (const auto* picture = std::get_if<DrawPicture>(&step)) {
      if (const QImage* image = imageOf(*picture->picture); image != nullptr) {
        painter.drawImage(toQRect(picture->target), *image);
      }
    } else if (const auto* line = std::get_if<DrawText>(&step)) {
      // Qt draws a line of text from its baseline.
      const double baseline = line->top + sized(line->fontPixels).ascent();
      painter.save();
      painter.setClipRect(toQRect(line->clip), Qt::IntersectClip);
      painter.setFont(font_);
      painter.setPen(toQColor(line->color));
      painter.drawText(QPointF(line->left, baseline), QString::fromStdU16String(line->text));
      painter.restore();
    }
  }
}

}  // namespace pirune::desktop
