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

// Pixels in `area` that pass `is`, with their leftmost and rightmost column.
Ink inkIn(const QImage& frame, QRect area, const std::function<bool(QColor)>& is) {
  Ink ink;
  area = area.intersected(frame.rect());
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
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

// The middle rows of text line `line` (0 = first) of the label, across the whole client area.
QRect lineBand(Shell& shell, int line) {
  const double spacing = QFontMetricsF(labelFont(13), &shell.window.clientArea()).lineSpacing();
  return {0, static_cast<int>((line + 0.25) * spacing), shell.window.clientArea().width(),
          static_cast<int>(spacing / 2)};
}

TEST(Rendering, TheTitleFillsTheClientAreaAndHidesTheHero) {
  Shell shell;
  shell.start();
  const QImage frame = shell.frame();
  ASSERT_EQ(frame.size(), shell.window.clientArea().size());
  EXPECT_TRUE(near(frame.pixelColor(shell.pixelOf(25, 25)), kTitleTopLeft));
  EXPECT_TRUE(near(frame.pixelColor(shell.pixelOf(75, 25)), kTitleTopRight));
  EXPECT_TRUE(near(frame.pixelColor(shell.pixelOf(25, 75)), kTitleBottomLeft));
  EXPECT_TRUE(near(frame.pixelColor(shell.pixelOf(75, 75)), kTitleBottomRight));
  // Corner to corner, with no black border left by the stretch.
  EXPECT_TRUE(near(frame.pixelColor(0, 0), kTitleTopLeft));
  EXPECT_TRUE(near(frame.pixelColor(frame.width() - 1, frame.height() - 1), kTitleBottomRight));
  // The title's label is empty: nothing dark is written over the picture.
  EXPECT_EQ(inkIn(frame, frame.rect(), dark).count, 0);

  // Even when shown, the hero lies behind the title picture; without the picture the same
  // place shows the white figure on black.
  shell.form.IMG.setVisible(true);
  const QRect hero = toPixels(shell.form.IMG.rect(), shell.window.clientArea().rect()).toRect();
  EXPECT_EQ(inkIn(shell.frame(), hero, white).count, 0);
  shell.form.SEimg.setVisible(false);
  const QImage bare = shell.frame();
  EXPECT_GT(inkIn(bare, hero, white).count, 20);
  EXPECT_EQ(bare.pixelColor(shell.pixelOf(60, 90)), QColor(Qt::black));
}

TEST(Rendering, StoryTextLiesCentredOnTopOfThePictureInAJapaneseFace) {
  Shell shell;
  shell.start();
  shell.click();
  ASSERT_EQ(shell.form.scenePage, 1);
  QImage frame = shell.frame();

  // The page starts with CR LF, an empty line, then "あるところに" in black, centred.
  EXPECT_EQ(inkIn(frame, lineBand(shell, 0), dark).count, 0);
  const Ink second = inkIn(frame, lineBand(shell, 1), dark);
  ASSERT_GT(second.count, 20);
  EXPECT_NEAR((second.left + second.right) / 2.0, frame.width() / 2.0, frame.width() * 0.04);
  EXPECT_GT(second.left, frame.width() / 4);
  // Below the text the picture is untouched.
  EXPECT_EQ(inkIn(frame, QRect(0, frame.height() / 2, frame.width(), frame.height()), dark).count,
            0);
  EXPECT_TRUE(near(frame.pixelColor(shell.pixelOf(50, 75)), kPage));

  // Far more than a line's width goes on on the next lines, not off the edge.
  shell.form.LBl.setCaption(std::u16string(60, u'あ'));
  frame = shell.frame();
  EXPECT_GT(inkIn(frame, lineBand(shell, 0), dark).right, frame.width() * 8 / 10);
  EXPECT_GT(inkIn(frame, lineBand(shell, 2), dark).count, 20);
  // Without a Japanese face every character is the same empty box.
  shell.form.LBl.setCaption(std::u16string(60, u'翼'));
  EXPECT_NE(shell.frame(), frame);
}

TEST(Rendering, ShapesAreClippedAtTheEdgesNotMoved) {
  Shell shell;
  shell.start();
  Shape& shape = *shell.form.SHP[0];
  shape.setBackColor({0, 255, 0});
  shape.Move(95, 97, 29, 29);
  shape.setVisible(true);

  // In the window the shape runs into the right and bottom edges.
  const QImage frame = shell.frame();
  EXPECT_EQ(frame.pixelColor(frame.width() - 1, frame.height() - 1), QColor(0, 255, 0));
  EXPECT_EQ(frame.pixelColor(shell.pixelOf(97, 98)), QColor(0, 255, 0));
  EXPECT_EQ(shape.Left(), 95);

  // Painted into a larger surface, nothing lands beyond the client area.
  QImage surface(300, 300, QImage::Format_RGB32);
  surface.fill(QColor(255, 0, 255));
  {
    QPainter painter(&surface);
    paintWindow(painter, shell.form.window, QRect(0, 0, 200, 200));
  }
  EXPECT_EQ(surface.pixelColor(199, 199), QColor(0, 255, 0));
  for (const QPoint outside : {QPoint(205, 199), QPoint(199, 205), QPoint(240, 240)}) {
    EXPECT_EQ(surface.pixelColor(outside), QColor(255, 0, 255))
        << outside.x() << "," << outside.y();
  }
}

TEST(Rendering, TheFlightShowsTheDistanceInWhiteAtTheLeft) {
  Shell shell;
  shell.start();
  // No twinkling shapes in the way of the pixels looked at.
  shell.form.mnu1[2]->setChecked(false);
  shell.startFlight();
  const Ink distance = inkIn(shell.frame(), lineBand(shell, 0), white);
  ASSERT_GT(distance.count, 5);
  EXPECT_LT(distance.left, shell.pixelOf(2, 0).x());
  EXPECT_LT(distance.right, shell.pixelOf(8, 0).x());
}

}  // namespace
}  // namespace pirune::desktop::testing
