// The background effect: four shapes scattered at random, shrinking one unit a tick.

#include <gtest/gtest.h>

#include <algorithm>

#include "screen/palette.h"
#include "support/scripted_platform.h"

namespace pirune::testing {
namespace {

// Each shape as "L,T,W,H/palette entry", shown or hidden.
std::string shapes(const FOM& f) {
  std::string text;
  for (const Shape* s : f.SHP) {
    const auto entry = std::find(kQbPalette.begin(), kQbPalette.end(), s->BackColor());
    text += (s->Visible() ? "" : "hidden ");
    for (const float v : {s->Left(), s->Top(), s->Width()}) {
      text += std::to_string(static_cast<int>(v)) + ",";
    }
    text += std::to_string(static_cast<int>(s->Height())) + "/" +
            std::to_string(entry - kQbPalette.begin()) + " ";
  }
  return text;
}

TEST(BackgroundEffect, ANewGameScattersShapesZeroToThreeFromTwentyRandomsAndHidesThem) {
  Game game;
  game.startFlight();
  const int before = game.platform.randomsDrawn;
  // Per shape: colour, left, top, width, height; 0.9999 would be entry 15 if it were allowed.
  for (int s = 0; s < 4; ++s) {
    game.platform.randoms.insert(game.platform.randoms.end(),
                                 {0.9999 - s * 0.1, s * 0.1, 0.995 - s * 0.01, 0.999, s * 0.1});
  }
  game.form.mnu2_Click();
  EXPECT_EQ(game.platform.randomsDrawn - before, 20);
  EXPECT_EQ(shapes(game.form),
            "hidden 1,100,29,0/14 hidden 11,99,29,3/13 hidden 21,98,29,6/11 hidden 31,97,29,9/10 ");
  EXPECT_FALSE(game.form.SHPTIM.Enabled());
}

TEST(BackgroundEffect, ATickShrinksEachShapeToASquareInOrderOrScattersItAtTwoOrLess) {
  Game game;
  game.startFlight();
  const Rect start[] = {{95, 98, 5, 3}, {10, 20, 2, 7}, {10, 20, 2.5F, 9}, {10, 20, 3.5F, 9}};
  for (std::size_t i = 0; i < 4; ++i) {
    game.form.SHP[i]->Move(start[i].left, start[i].top, start[i].width, start[i].height);
    game.form.SHP[i]->setBackColor(kQbPalette[0]);
  }
  // Past the edges and left there; exactly 2: scattered; 2.5 is 2, ties to even; 3.5 is 4.
  game.platform.randoms = {0.2, 0.305, 0.405, 0.505, 0.61};
  game.form.SHPTIM_Timer();
  EXPECT_EQ(shapes(game.form), "95,98,4,4/0 31,41,15,18/3 10,20,1,1/0 10,20,3,3/0 ");
  // Two shapes scattered in one tick take their randoms in the order of the shapes.
  game.form.SHP[0]->setWidth(2);
  game.platform.randoms = {0.0, 0.5, 0.5, 0.5, 0.5, 0.1, 0.1, 0.1, 0.1, 0.1};
  game.form.SHPTIM_Timer();
  EXPECT_EQ(shapes(game.form), "51,51,15,15/0 31,41,14,14/3 11,11,3,3/1 10,20,2,2/0 ");
  game.platform.randoms = {0.0, 0.0, 0.0, 0.0, 0.0};
  game.form.SHPTIM_Timer();  // scattered on the tick after 2
  EXPECT_EQ(shapes(game.form), "51,51,14,14/0 31,41,13,13/3 11,11,2,2/1 1,1,0,0/0 ");
}

TEST(BackgroundEffect, SwitchedOutsideAFlightItNeitherShowsTheShapesNorStartsTheirTimer) {
  // Clicks from the title: 0 the title, 1 and 2 the opening pages, then after a goal the ending.
  for (const int clicks : {0, 1, 2}) {
    Game game;
    for (int click = 0; click < clicks; ++click) {
      game.click();
    }
    for (int flip = 0; flip < 2; ++flip) {
      game.form.mnu1_Click(2);
      EXPECT_FALSE(game.form.SHPTIM.Enabled()) << clicks << " clicks, flip " << flip;
      EXPECT_FALSE(std::ranges::any_of(game.form.SHP, &Shape::Visible)) << clicks;
    }
  }
  Game ended;
  ended.flyAt(29);
  ended.click();  // the goal: the ending's pages
  // The flight's shapes stay as they were; the switch neither hides them nor starts them again.
  ended.form.mnu1_Click(2);
  EXPECT_TRUE(ended.form.SHP[0]->Visible());
  ended.form.mnu1_Click(2);
  EXPECT_EQ(ended.scene(), u"end");
  EXPECT_FALSE(ended.form.SHPTIM.Enabled());
}

}  // namespace
}  // namespace pirune::testing
