// What a frame draws, in the shell's pixels: every edge on the nearest whole pixel, pictures at
// their size or stretched, a label's lines placed by its alignment, and nothing outside the
// region that changed.

#include "host/paint_plan.h"

#include <gtest/gtest.h>

#include <memory>

#include "support/sized_picture.h"

namespace pirune {
namespace {

TEST(PaintPlan, UnitsLandOnTheNearestWholePixel) {
  const struct {
    Rect units;
    int width, height;
    PixelRect pixels;
  } cases[] = {
      {{0, 0, 100, 100}, 652, 624, {0, 0, 652, 624}},
      {{10, 10, 5, 5}, 200, 200, {20, 20, 10, 10}},
      // 10.5 pixels rounds away from zero; both edges round, so neighbours never overlap or part.
      {{1.5, 0, 1.5, 1}, 700, 100, {11, 0, 10, 1}},
      {{3, 0, 1.5, 1}, 700, 100, {21, 0, 11, 1}},
      {{-10, 90, 20, 20}, 333, 333, {-33, 300, 66, 66}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(toPixels(c.units, {c.width, c.height, 1, 1}), c.pixels)
        << c.units.left << "," << c.units.top << " on " << c.width << "x" << c.height;
  }
}

struct Window {
  WindowModel model;
  Image& stretched = model.addImage("stretched", true);
  Image& natural = model.addImage("natural", false);
  Shape& shape = model.addShape("shape");
  Label& label = model.addLabel("label");
  std::shared_ptr<testing::SizedPicture> picture =
      std::make_shared<testing::SizedPicture>("picture", 30, 20);

  Window() {
    stretched.Move(0, 0, 50, 50);
    stretched.setPicture(picture);
    natural.Move(50, 50, 50, 50);
    natural.setPicture(picture);
    shape.Move(10, 60, 10, 10);
    shape.setBackColor(kRed);
    label.Move(0, 0, 100, 20);
    label.setForeColor(kWhite);
  }
};

TEST(PaintPlan, BlackThenEveryVisibleControlBackToFrontAndInARegionOnlyWhatItTouches) {
  Window w;
  w.label.setCaption(u"あいう");  // at the top, far from the region below
  PaintPlanner planner(testing::tenPixelFont());
  const ClientGeometry client{200, 200, 2, 1};
  const std::vector<PaintStep> whole = {
      FillRect{{0, 0, 200, 200}, kBlack},
      DrawPicture{w.picture.get(), {0, 0, 100, 100}},
      // Twice its 30 by 20 pixels: two of the shell's pixels to one of the picture's.
      DrawPicture{w.picture.get(), {100, 100, 60, 40}},
      FillRect{{20, 120, 20, 20}, kRed},
      DrawText{u"あいう", 0, 0, 9, kWhite, {0, 0, 200, 40}},
  };
  EXPECT_EQ(planner.plan(w.model, client, Region(client.rect())), whole);
  // Only the shape's corner: black there, and the shape; not the pictures, not the label.
  const std::vector<PaintStep> corner = {FillRect{{38, 138, 10, 10}, kBlack},
                                         FillRect{{20, 120, 20, 20}, kRed}};
  EXPECT_EQ(planner.plan(w.model, client, Region(PixelRect{38, 138, 10, 10})), corner);
  EXPECT_TRUE(planner.plan(w.model, client, Region()).empty());
}

TEST(PaintPlan, ALabelsLinesArePlacedByItsAlignmentAndClippedToItsBox) {
  const struct {
    Alignment alignment;
    double firstLeft, secondLeft;
  } cases[] = {
      {Alignment::Left, 0, 0},
      {Alignment::Center, 85, 90},  // 200 wide: 30 and 20 pixels of text
      {Alignment::Right, 170, 180},
  };
  for (const auto& c : cases) {
    Window w;
    w.stretched.setVisible(false);
    w.natural.setVisible(false);
    w.shape.setVisible(false);
    w.label.setCaption(u"あいう  \r\nえお");  // placed by their ink: trailing spaces count nothing
    w.label.setAlignment(c.alignment);
    w.label.setFontSize(9);
    PaintPlanner planner(testing::tenPixelFont());
    const ClientGeometry client{200, 200, 1, 2};
    const PixelRect clip{0, 0, 200, 40};
    const std::vector<PaintStep> expected = {
        FillRect{{0, 0, 200, 200}, kBlack},
        DrawText{u"あいう  ", c.firstLeft, 0, 18, kWhite, clip},
        DrawText{u"えお", c.secondLeft, 12, 18, kWhite, clip},
    };
    EXPECT_EQ(planner.plan(w.model, client, Region(client.rect())), expected)
        << static_cast<int>(c.alignment);
  }
}

}  // namespace
}  // namespace pirune
