// What the player sees: frames of the real window, checked pixel by pixel.

#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QPainter>
#include <functional>

#include "renderer.h"
#include "shell.h"

namespace pirune::desktop::testing {
namespace {

struct Ink {
  int count = 0;
  int left = -1;
  int right = -1;
};

// Pixels in rows [top, bottom) that pass `is`, with their leftmost and rightmost column.
Ink inkIn(const QImage& frame, int top, int bottom, const std::function<bool(QColor)>& is,
          int fromX = 0, int toX = -1) {
  Ink ink;
  if (toX < 0) {
    toX = frame.width();
  }
  for (int y = std::max(0, top); y < std::min(bottom, frame.height()); ++y) {
    for (int x = fromX; x < toX; ++x) {
      if (is(frame.pixelColor(x, y))) {
        ++ink.count;
        ink.left = ink.left < 0 ? x : std::min(ink.left, x);
        ink.right = std::max(ink.right, x);
      }
    }
  }
  return ink;
}

bool dark(QColor c) { return c.red() < 100 && c.green() < 100 && c.blue() < 100; }
// Text is thin and smoothed: its strokes are lit, not all of them pure white.
bool white(QColor c) { return c.red() > 150 && c.green() > 150 && c.blue() > 150; }

// Rows of the middle of text line `line` (0 = first) of the label.
std::pair<int, int> lineBand(Shell& shell, int line) {
  const QFontMetricsF metrics(labelFont(13), &shell.window.clientArea());
  const double spacing = metrics.lineSpacing();
  return {static_cast<int>(line * spacing + 0.25 * spacing),
          static_cast<int>(line * spacing + 0.75 * spacing)};
}

TEST(Rendering, TitlePictureIsStretchedOverTheClientAreaAndHidesTheHero) {
  Shell shell;
  shell.start();
  const QImage frame = shell.frame();
  ASSERT_EQ(frame.size(), shell.window.clientArea().size());

  EXPECT_TRUE(near(shell.pixelAt(frame, 25, 25), kTitleTopLeft));
  EXPECT_TRUE(near(shell.pixelAt(frame, 75, 25), kTitleTopRight));
  EXPECT_TRUE(near(shell.pixelAt(frame, 25, 75), kTitleBottomLeft));
  EXPECT_TRUE(near(shell.pixelAt(frame, 75, 75), kTitleBottomRight));
  // Corner to corner, with no black border left by the stretch.
  EXPECT_TRUE(near(frame.pixelColor(0, 0), kTitleTopLeft));
  EXPECT_TRUE(near(frame.pixelColor(frame.width() - 1, frame.height() - 1), kTitleBottomRight));
  // The title's label is empty: nothing dark is written over the picture.
  EXPECT_EQ(inkIn(frame, 0, frame.height() / 2, dark).count, 0);

  // Even when shown, the hero lies behind the title picture.
  shell.form.IMG.setVisible(true);
  shell.window.refresh();
  const QRect hero = toPixels(shell.form.IMG.rect(), shell.window.clientArea().rect()).toRect();
  const QImage covered = shell.frame();
  EXPECT_EQ(inkIn(covered, hero.top(), hero.bottom(), white, hero.left(), hero.right()).count, 0);
  EXPECT_TRUE(near(covered.pixelColor(hero.center()), kTitleBottomLeft));

  // Without the picture in front, the same place shows the white figure on black.
  shell.form.SEimg.setVisible(false);
  const QImage bare = shell.frame();
  EXPECT_GT(inkIn(bare, hero.top(), hero.bottom(), white, hero.left(), hero.right()).count, 20);
  EXPECT_EQ(bare.pixelColor(shell.pixelOf(60, 90)), QColor(Qt::black));
}

TEST(Rendering, OpeningTextLiesCentredOnTopOfThePicture) {
  Shell shell;
  shell.start();
  shell.click();
  ASSERT_EQ(shell.pictureShown(), shell.path("open0.bmp"));
  const QImage frame = shell.frame();

  // The page starts with an empty line, then "あるところに" in black, centred.
  const auto [top0, bottom0] = lineBand(shell, 0);
  EXPECT_EQ(inkIn(frame, top0, bottom0, dark).count, 0);
  const auto [top1, bottom1] = lineBand(shell, 1);
  const Ink second = inkIn(frame, top1, bottom1, dark);
  ASSERT_GT(second.count, 20);
  const double middle = (second.left + second.right) / 2.0;
  EXPECT_NEAR(middle, frame.width() / 2.0, frame.width() * 0.04);
  EXPECT_GT(second.left, frame.width() / 4);

  // Below the text the picture is untouched.
  EXPECT_EQ(inkIn(frame, frame.height() / 2, frame.height(), dark).count, 0);
  EXPECT_TRUE(near(shell.pixelAt(frame, 50, 75), kOpen0));
}

TEST(Rendering, CaptionBreaksAtCrLfAndWrapsLongLines) {
  Shell shell;
  shell.start();
  shell.form.SEimg.setVisible(false);
  shell.form.LBl.setForeColor(kWhite);
  shell.form.LBl.setAlignment(Alignment::Left);

  shell.form.LBl.setCaption(u"い\r\nう");
  QImage frame = shell.frame();
  const auto [top0, bottom0] = lineBand(shell, 0);
  const auto [top1, bottom1] = lineBand(shell, 1);
  const auto [top2, bottom2] = lineBand(shell, 2);
  const Ink first = inkIn(frame, top0, bottom0, white);
  ASSERT_GT(first.count, 5);
  // One character on the first line: the break left no glyph of its own behind.
  EXPECT_LT(first.right, shell.pixelOf(10, 0).x());
  EXPECT_GT(inkIn(frame, top1, bottom1, white).count, 5);
  EXPECT_EQ(inkIn(frame, top2, frame.height(), white).count, 0);

  // Far more than one line's width of text goes on on the next lines, not off the edge.
  shell.form.LBl.setCaption(std::u16string(60, u'あ'));
  frame = shell.frame();
  const Ink wide = inkIn(frame, top0, bottom0, white);
  EXPECT_GT(wide.right, frame.width() * 8 / 10);
  EXPECT_GT(inkIn(frame, top1, bottom1, white).count, 20);
  EXPECT_GT(inkIn(frame, top2, bottom2, white).count, 20);
}

TEST(Rendering, LabelFontShowsJapanese) {
  // Without a Japanese face every character is the same empty box.
  const auto glyph = [](const QString& text) {
    QImage image(40, 40, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.setFont(labelFont(13));
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 0, 40, 40), Qt::AlignLeft | Qt::AlignTop, text);
    return image;
  };
  const QImage a = glyph(QStringLiteral("あ"));
  const QImage i = glyph(QStringLiteral("い"));
  const QImage wing = glyph(QStringLiteral("翼"));
  EXPECT_NE(a, i);
  EXPECT_NE(a, wing);
  EXPECT_NE(i, wing);
}

TEST(Rendering, ShapesAreClippedAtTheEdgesNotMoved) {
  Shell shell;
  shell.start();
  Shape& shape = *shell.form.SHP[0];
  shape.setBackColor({0, 255, 0});
  shape.Move(95, 97, 29, 29);
  shape.setVisible(true);

  // The window's frame: the shape runs into the right and bottom edges.
  const QImage frame = shell.frame();
  EXPECT_EQ(frame.pixelColor(frame.width() - 1, frame.height() - 1), QColor(0, 255, 0));
  EXPECT_EQ(shell.pixelAt(frame, 97, 98), QColor(0, 255, 0));
  EXPECT_EQ(shape.Left(), 95);

  // Painted into a larger surface, nothing lands beyond the client area.
  const QRect client(0, 0, 200, 200);
  QImage surface(300, 300, QImage::Format_RGB32);
  surface.fill(QColor(255, 0, 255));
  {
    QPainter painter(&surface);
    paintWindow(painter, shell.form.window, client);
  }
  EXPECT_EQ(surface.pixelColor(199, 199), QColor(0, 255, 0));
  EXPECT_EQ(surface.pixelColor(205, 199), QColor(255, 0, 255));
  EXPECT_EQ(surface.pixelColor(199, 205), QColor(255, 0, 255));
  EXPECT_EQ(surface.pixelColor(240, 240), QColor(255, 0, 255));
}

TEST(Rendering, FlightShowsTheDistanceInWhiteAtTheLeft) {
  Shell shell;
  shell.start();
  // No twinkling shapes in the way of the pixels looked at.
  shell.form.mnu1[2]->setChecked(false);
  shell.startFlight();
  QImage frame = shell.frame();
  const auto [top0, bottom0] = lineBand(shell, 0);
  const Ink distance = inkIn(frame, top0, bottom0, white);
  ASSERT_GT(distance.count, 5);
  EXPECT_LT(distance.left, shell.pixelOf(2, 0).x());
  EXPECT_LT(distance.right, shell.pixelOf(8, 0).x());
  // The story picture has gone: the sky behind the flight is black.
  EXPECT_EQ(inkIn(frame, 0, frame.height(), [](QColor c) { return near(c, kOpen1); }).count, 0);

  // Two beats later the number drawn there is another one.
  shell.click();
  shell.click();
  ASSERT_EQ(shell.form.LBl.Caption(), u"2");
  const QImage later = shell.frame();
  EXPECT_GT(inkIn(later, top0, bottom0, white).count, 5);
  EXPECT_NE(frame.copy(0, top0, frame.width() / 5, bottom0 - top0),
            later.copy(0, top0, later.width() / 5, bottom0 - top0));
}

}  // namespace
}  // namespace pirune::desktop::testing
