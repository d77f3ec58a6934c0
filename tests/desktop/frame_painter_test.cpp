// What the player sees of a frame is what the session planned: each step drawn in turn, a
// picture filling its target exactly, and a line of text where it was measured to be.

#include "frame_painter.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cmath>
#include <memory>

#include "qt_picture.h"

namespace pirune::desktop {
namespace {

constexpr double kFontPixels = 20;
constexpr Color kGreen{0, 200, 0};

// The rectangle that holds every pixel of `image` that is not black; empty when none is.
QRect lit(const QImage& image) {
  QRect found;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixelColor(x, y) != Qt::black) {
        found |= QRect(x, y, 1, 1);
      }
    }
  }
  return found;
}

TEST(FramePainter, EachStepInTurnThePictureOnItsTargetAndNothingOutside) {
  QImage frame(60, 60, QImage::Format_RGB32);
  QImage red(2, 2, QImage::Format_RGB32);
  red.fill(QColor(200, 40, 40));
  const auto picture = std::make_shared<QtBitmap>(red, "red");
  FramePainter painter(frame);
  QPainter onFrame(&frame);
  painter.paint(onFrame,
                {FillRect{{0, 0, 60, 60}, kBlack}, DrawPicture{picture.get(), {10, 10, 20, 20}},
                 FillRect{{15, 15, 5, 5}, kGreen}});
  onFrame.end();
  EXPECT_EQ(lit(frame), QRect(10, 10, 20, 20));
  for (const QPoint at : {QPoint(10, 10), QPoint(29, 29), QPoint(20, 25)}) {
    EXPECT_EQ(frame.pixelColor(at), QColor(200, 40, 40)) << at.x() << "," << at.y();
  }
  EXPECT_EQ(frame.pixelColor(15, 15), QColor(0, 200, 0));
  EXPECT_EQ(frame.pixelColor(19, 19), QColor(0, 200, 0));
}

TEST(FramePainter, ALineOfTextLiesWithinItsMeasuredWidthAndLineBoxAndItsClip) {
  QImage frame(200, 60, QImage::Format_RGB32);
  FramePainter painter(frame);
  const FontMetrics metrics = painter.fontMetrics();
  const std::u16string text = u"飛べ123";
  const double width = metrics.width(text, kFontPixels);
  const double lineHeight = metrics.lineHeight(kFontPixels);
  EXPECT_NEAR(metrics.width(text + text, kFontPixels), 2 * width, 1);
  EXPECT_EQ(lineHeight, std::ceil(lineHeight));
  EXPECT_GE(lineHeight, kFontPixels);

  const auto drawn = [&](const PixelRect& clip) {
    frame.fill(Qt::black);
    QPainter onFrame(&frame);
    painter.paint(onFrame, {DrawText{text, 10, 5, kFontPixels, kWhite, clip}});
    return lit(frame);
  };
  const QRect whole = drawn({0, 0, 200, 60});
  ASSERT_FALSE(whole.isEmpty());
  // Glyphs may blend into the pixel beside their advance, no further.
  EXPECT_GE(whole.left(), 9);
  EXPECT_LE(whole.right(), static_cast<int>(std::ceil(10 + width)));
  EXPECT_GE(whole.top(), 5);
  EXPECT_LE(whole.bottom(), static_cast<int>(5 + lineHeight));
  // The width of the first character only is left of the clip's edge.
  const int edge = static_cast<int>(10 + metrics.width(u"飛", kFontPixels));
  const QRect clipped = drawn({0, 0, edge, 60});
  ASSERT_FALSE(clipped.isEmpty());
  EXPECT_LT(clipped.right(), edge);
}

}  // namespace
}  // namespace pirune::desktop
