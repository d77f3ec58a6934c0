// What a frame repaints: a missed pixel is a stale picture on the player's screen, so each kind
// of change is checked for the exact pixels it damages, and nothing more.

#include "host/damage.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>
#include <utility>

#include "support/sized_picture.h"

namespace pirune {
namespace {

// A 200 by 200 client area: one unit is two pixels, and a control's pixels grow by one pixel
// on each side, where scaled pictures and text blend into their neighbours.
const ClientGeometry kClient{200, 200, 1, 1};

using Pixels = std::set<std::pair<int, int>>;

Pixels pixelsOf(const Region& region) {
  Pixels pixels;
  for (const PixelRect& r : region.rects()) {
    for (int y = r.top; y < r.bottom(); ++y) {
      for (int x = r.left; x < r.right(); ++x) {
        pixels.emplace(x, y);
      }
    }
  }
  return pixels;
}

// The pixels of a rectangle grown by the bleed, inside the client area.
Pixels touched(int left, int top, int width, int height) {
  return pixelsOf(
      Region(PixelRect{left - 1, top - 1, width + 2, height + 2}.intersected(kClient.rect())));
}

// The whole client area, repainted.
const Pixels kWhole = pixelsOf(Region(kClient.rect()));

Pixels operator+(Pixels a, const Pixels& b) {
  a.insert(b.begin(), b.end());
  return a;
}

// The ink grows with the caption, as a shell's font would measure it.
PixelRect inkOf(const Label& label) {
  return PixelRect{0, 0, 10 * static_cast<int>(label.Caption().size()), 10};
}

PictureRef square() { return std::make_shared<testing::SizedPicture>("square", 4, 4); }

struct Scene {
  WindowModel window;
  Image& picture = window.addImage("picture", true);
  Image& unstretched = window.addImage("unstretched", false);
  Label& label = window.addLabel("label");
  Shape& a = window.addShape("a");
  Shape& b = window.addShape("b");

  Scene() {
    picture.Move(60, 0, 20, 20);
    picture.setPicture(square());
    unstretched.Move(0, 90, 50, 10);
    unstretched.setPicture(square());
    label.Move(0, 0, 100, 20);
    label.setCaption(u"1");
    a.Move(10, 10, 5, 5);
    b.Move(50, 50, 5, 5);
  }
};

TEST(Damage, EachChangeDamagesWhereTheControlWasAndWhereItIsNowAndNothingElse) {
  const auto nothing = [](Scene&) {};
  const struct {
    const char* change;
    std::function<void(Scene&)> apply;
    Pixels damage;
    ClientGeometry client = kClient;  // the client area the change is taken in
  } cases[] = {
      {"nothing", nothing, {}},
      {"a moved", [](Scene& s) { s.a.Move(20, 10, 5, 5); },
       touched(20, 20, 10, 10) + touched(40, 20, 10, 10)},
      {"a recoloured", [](Scene& s) { s.a.setBackColor(kBlack); }, touched(20, 20, 10, 10)},
      {"a hidden", [](Scene& s) { s.a.setVisible(false); }, touched(20, 20, 10, 10)},
      {"a new shape", [](Scene& s) { s.window.addShape("c").Move(90, 90, 5, 5); },
       touched(180, 180, 10, 10)},
      // A label's text damages only where its ink was and is, not its whole box.
      {"the caption", [](Scene& s) { s.label.setCaption(u"2"); }, touched(0, 0, 10, 10)},
      {"the caption emptied", [](Scene& s) { s.label.setCaption(u""); }, touched(0, 0, 10, 10)},
      {"the caption grown", [](Scene& s) { s.label.setCaption(u"123"); }, touched(0, 0, 30, 10)},
      {"the picture swapped", [](Scene& s) { s.picture.setPicture(square()); },
       touched(120, 0, 40, 40)},
      {"the same picture again", [](Scene& s) { s.picture.setPicture(s.picture.Picture()); }, {}},
      // At its own size the picture covers 4 by 4 pixels from the image's corner, whatever the
      // image's rectangle.
      {"an unstretched picture moved", [](Scene& s) { s.unstretched.Move(10, 90, 50, 10); },
       touched(0, 180, 4, 4) + touched(20, 180, 4, 4)},
      {"b sent to the back", [](Scene& s) { s.b.ZOrder(1); }, kWhole},
      // A new size or scale of the client area repaints it whole.
      {"a larger client area", nothing, pixelsOf(Region({0, 0, 300, 300})), {300, 300, 1, 1}},
      {"pictures at another scale", nothing, kWhole, {200, 200, 2, 1}},
      {"text at another scale", nothing, kWhole, {200, 200, 1, 1.5}},
  };
  for (const auto& c : cases) {
    Scene scene;
    DamageTracker tracker;
    EXPECT_EQ(pixelsOf(tracker.take(scene.window, kClient, inkOf)), kWhole) << c.change;
    c.apply(scene);
    EXPECT_EQ(pixelsOf(tracker.take(scene.window, c.client, inkOf)), c.damage) << c.change;
    EXPECT_TRUE(tracker.take(scene.window, c.client, inkOf).empty()) << c.change << ", taken twice";
  }
}

}  // namespace
}  // namespace pirune
