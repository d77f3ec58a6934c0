// Frames that paint only what changed: the region of each change, and a window whose pixels
// after a stretch of flight are exactly what a full paint of the model gives.

#include "damage.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <memory>

#include "qt_picture.h"
#include "renderer.h"
#include "shell.h"

namespace pirune::desktop::testing {
namespace {

const QRect kClient(0, 0, 200, 100);

PictureRef pictureOf(const QColor& color) {
  QImage image(4, 4, QImage::Format_ARGB32_Premultiplied);
  image.fill(color);
  return std::make_shared<QtBitmap>(image, "test");
}

TEST(Damage, EachChangeCostsTheRectanglesItTouchesAndNothingElse) {
  WindowModel window;
  Shape& back = window.addShape("back");
  back.Move(10, 10, 10, 10);  // pixels 20..40 × 10..20
  Shape& front = window.addShape("front");
  front.Move(60, 60, 10, 10);  // pixels 120..140 × 60..70
  Image& image = window.addImage("image", true);
  image.Move(50, 0, 10, 10);  // pixels 100..120 × 0..10
  image.setPicture(pictureOf(Qt::white));
  Label& label = window.addLabel("label");
  label.Move(0, 80, 20, 20);

  DamageTracker damage;
  EXPECT_EQ(damage.take(window, kClient), QRegion(kClient));
  EXPECT_TRUE(damage.take(window, kClient).isEmpty());

  // A move: where it was and where it is now.
  back.Move(30, 10, 10, 10);
  QRegion moved = damage.take(window, kClient);
  EXPECT_TRUE(moved.contains(QPoint(25, 15)));
  EXPECT_TRUE(moved.contains(QPoint(65, 15)));
  EXPECT_FALSE(moved.contains(QPoint(130, 65)));
  EXPECT_FALSE(moved.contains(QPoint(50, 50)));

  // Looks without a move, and going and coming.
  front.setBackColor(kWhite);
  EXPECT_TRUE(damage.take(window, kClient).contains(QPoint(130, 65)));
  front.setVisible(false);
  EXPECT_TRUE(damage.take(window, kClient).contains(QPoint(130, 65)));
  EXPECT_TRUE(damage.take(window, kClient).isEmpty());
  front.setVisible(true);
  EXPECT_TRUE(damage.take(window, kClient).contains(QPoint(130, 65)));

  image.setPicture(pictureOf(Qt::red));
  const QRegion repictured = damage.take(window, kClient);
  EXPECT_TRUE(repictured.contains(QPoint(110, 5)));
  EXPECT_FALSE(repictured.contains(QPoint(65, 15)));

  // An empty label draws nothing: hiding it changes no pixel; its text does.
  label.setVisible(false);
  EXPECT_TRUE(damage.take(window, kClient).isEmpty());
  label.setVisible(true);
  label.setCaption(u"12");
  EXPECT_TRUE(damage.take(window, kClient).contains(QPoint(10, 90)));
  label.setForeColor(kRed);
  EXPECT_TRUE(damage.take(window, kClient).contains(QPoint(10, 90)));

  // A change of the drawing order may uncover anything; so may a new size of the client area.
  back.ZOrder(0);
  EXPECT_EQ(damage.take(window, kClient), QRegion(kClient));
  const QRect wider(0, 0, 300, 100);
  EXPECT_EQ(damage.take(window, wider), QRegion(wider));
}

TEST(Damage, AfterAFlightWithTheBackgroundEffectTheWindowShowsExactlyTheModel) {
  Shell shell;
  shell.start();
  shell.startFlight();
  for (int beat = 0; beat < 6; ++beat) {
    QTest::qWait(120);
    shell.click();
  }
  // A new distance repaints the whole label, that is the whole client area; after it the
  // shapes go on shrinking for a while, and those frames paint only around them.
  QTest::qWait(400);
  // Everything stands still, and the last changes get their frame.
  shell.form.SHPTIM.setEnabled(false);
  shell.form.piruneTIM.setEnabled(false);
  QTest::qWait(80);
  ASSERT_EQ(shell.scene(), u"");

  ClientArea& client = shell.window.clientArea();
  const QPoint at = client.mapTo(&shell.window, QPoint(0, 0));
  const QImage shown = QGuiApplication::primaryScreen()
                           ->grabWindow(shell.window.winId())
                           .toImage()
                           .convertToFormat(QImage::Format_RGB32)
                           .copy(QRect(at, client.size()));
  const QImage whole = shell.frame();
  ASSERT_EQ(shown.size(), whole.size());
  int wrong = 0;
  for (int y = 0; y < whole.height(); ++y) {
    for (int x = 0; x < whole.width(); ++x) {
      wrong += near(shown.pixelColor(x, y), whole.pixelColor(x, y), 2) ? 0 : 1;
    }
  }
  EXPECT_EQ(wrong, 0);
}

}  // namespace
}  // namespace pirune::desktop::testing
