// What a frame repaints: a missed pixel is a stale picture on the player's screen, so each kind
// of change is checked for the exact pixels it damages, and nothing more.

#include "damage.h"

#include <gtest/gtest.h>

#include <QImage>
#include <functional>
#include <memory>

#include "qt_picture.h"

namespace pirune::desktop {
namespace {

// A 200 by 200 client area: one unit is two pixels, and a control's pixels grow by one pixel
// on each side, where scaled pictures and text blend into their neighbours.
const QRect kClient(0, 0, 200, 200);
QRegion touched(int left, int top, int width, int height) {
  return QRegion(QRect(left - 1, top - 1, width + 2, height + 2)).intersected(kClient);
}

struct Scene {
  WindowModel window;
  Image& picture = window.addImage("picture", true);
  Label& label = window.addLabel("label");
  Shape& a = window.addShape("a");
  Shape& b = window.addShape("b");

  Scene() {
    picture.Move(60, 0, 20, 20);
    picture.setPicture(pictureOf(Qt::white));
    label.Move(0, 0, 100, 20);
    label.setCaption(u"1");
    a.Move(10, 10, 5, 5);
    b.Move(50, 50, 5, 5);
  }
  static PictureRef pictureOf(QColor colour) {
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(colour);
    return std::make_shared<QtBitmap>(image, "test");
  }
};

TEST(Damage, EachChangeDamagesWhereTheControlWasAndWhereItIsNowAndNothingElse) {
  const struct {
    const char* change;
    std::function<void(Scene&)> apply;
    QRegion damage;
  } cases[] = {
      {"nothing", [](Scene&) {}, {}},
      {"a moved", [](Scene& s) { s.a.Move(20, 10, 5, 5); },
       touched(20, 20, 10, 10) + touched(40, 20, 10, 10)},
      {"a recoloured", [](Scene& s) { s.a.setBackColor(kBlack); }, touched(20, 20, 10, 10)},
      {"a hidden", [](Scene& s) { s.a.setVisible(false); }, touched(20, 20, 10, 10)},
      {"a new shape", [](Scene& s) { s.window.addShape("c").Move(90, 90, 5, 5); },
       touched(180, 180, 10, 10)},
      {"the caption", [](Scene& s) { s.label.setCaption(u"2"); }, touched(0, 0, 200, 40)},
      {"the caption emptied", [](Scene& s) { s.label.setCaption(u""); }, touched(0, 0, 200, 40)},
      {"the picture swapped", [](Scene& s) { s.picture.setPicture(Scene::pictureOf(Qt::red)); },
       touched(120, 0, 40, 40)},
      {"the same picture again", [](Scene& s) { s.picture.setPicture(s.picture.Picture()); }, {}},
      {"b sent to the back", [](Scene& s) { s.b.ZOrder(1); }, QRegion(kClient)},
  };
  for (const auto& c : cases) {
    Scene scene;
    DamageTracker tracker;
    EXPECT_EQ(tracker.take(scene.window, kClient), QRegion(kClient)) << c.change;
    c.apply(scene);
    EXPECT_EQ(tracker.take(scene.window, kClient), c.damage) << c.change;
    EXPECT_EQ(tracker.take(scene.window, kClient), QRegion()) << c.change << ", taken twice";
  }
}

TEST(Damage, ANewSizeOfTheClientAreaRepaintsItWhole) {
  Scene scene;
  DamageTracker tracker;
  (void)tracker.take(scene.window, kClient);
  const QRect larger(0, 0, 300, 300);
  EXPECT_EQ(tracker.take(scene.window, larger), QRegion(larger));
  EXPECT_EQ(tracker.take(scene.window, larger), QRegion());
}

}  // namespace
}  // namespace pirune::desktop
