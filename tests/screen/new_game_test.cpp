// The new game and the background effect.

#include <gtest/gtest.h>

#include <cmath>

#include "support/scripted_platform.h"

namespace pirune::testing {
namespace {

TEST(NewGame, LoadLeavesCountersAtZeroAndTheFirstActivationShowsTheTitle) {
  ScriptedPlatform platform;
  FOM f(platform);
  f.Form_Load();
  EXPECT_FALSE(f.sceneName.has_value());
  EXPECT_EQ(f.distance, 0);
  EXPECT_EQ(f.altitude, 0);
  EXPECT_EQ(f.wingFrame, 0);
  EXPECT_EQ(f.IMG.rect(), (Rect{0, 0, 10, 30}));
  EXPECT_EQ(f.LBl.rect(), (Rect{0, 0, 100, 100}));
  EXPECT_EQ(f.LBl.FontSize(), 13);
  EXPECT_EQ(platform.outerH, 500);
  EXPECT_EQ(platform.outerW, 500);
  EXPECT_EQ(platform.seeds, 1);
  EXPECT_TRUE(f.mnu1[0]->Checked());
  EXPECT_FALSE(f.mnu1[1]->Checked());
  EXPECT_TRUE(f.mnu1[2]->Checked());
  EXPECT_EQ(f.SHP.size(), 4U);
  EXPECT_EQ(f.basePath, platform.folder.string() + "/");

  std::vector<std::string> order;
  for (const Control* c : f.window.zOrder()) {
    order.push_back(c->name());
  }
  EXPECT_EQ(order, (std::vector<std::string>{"IMG", "E(1)", "E(0)", "LBl", "SEimg", "SHP(0)",
                                             "SHP(1)", "SHP(2)", "SHP(3)"}));

  f.Form_Activate();
  order.clear();
  for (const Control* c : f.window.zOrder()) {
    order.push_back(c->name());
  }
  EXPECT_EQ(order, (std::vector<std::string>{"IMG", "E(1)", "E(0)", "SEimg", "SHP(0)", "SHP(1)",
                                             "SHP(2)", "SHP(3)", "LBl"}));
  EXPECT_EQ(f.LBl.Caption(), u"");      // "Label1" is never seen
  EXPECT_TRUE(platform.boxes.empty());  // distance 0 earns no place
  EXPECT_EQ(f.sceneName, u"open");
  EXPECT_EQ(f.IMG.rect(), (Rect{0, 50, 10, 30}));
  EXPECT_FALSE(f.IMG.Visible());
  EXPECT_EQ(f.IMG.Picture()->source(), "wing1");
  EXPECT_EQ(f.piruneTIM.Interval(), 500);
  EXPECT_FALSE(f.piruneTIM.Enabled());
  // Only the title and the hidden wing stores: nothing of the design shows through.
  std::vector<std::string> painted;
  for (const Control* c : f.window.paintList()) {
    painted.push_back(c->name());
  }
  EXPECT_EQ(painted, (std::vector<std::string>{"SEimg", "LBl"}));
}

TEST(NewGame, DrawsTwentyRandomNumbersShapeZeroFirstInTheOrderColourLeftTopWidthHeight) {
  Game game;
  FOM& f = game.form;
  game.startFlight();
  const int before = game.platform.randomsDrawn;
  for (int shape = 0; shape < 4; ++shape) {
    const double base = shape * 0.01;
    game.platform.randoms.insert(game.platform.randoms.end(),
                                 {0.99 - base, 0.05 + base, 0.5 + base, 0.999, 0.0});
  }
  f.mnu2_Click();
  EXPECT_EQ(game.platform.randomsDrawn - before, 20);
  for (int shape = 0; shape < 4; ++shape) {
    const Shape& s = *f.SHP[static_cast<std::size_t>(shape)];
    EXPECT_FALSE(s.Visible());
    EXPECT_EQ(s.Left(), std::floor((0.05 + shape * 0.01) * 100) + 1) << shape;
    EXPECT_EQ(s.Top(), std::floor((0.5 + shape * 0.01) * 100) + 1) << shape;
    EXPECT_EQ(s.Width(), 29);
    EXPECT_EQ(s.Height(), 0);
  }
  EXPECT_EQ(f.SHP[0]->BackColor(), qbPalette()[14]);  // Int(0.99 * 15): never 15
  EXPECT_EQ(f.SHP[3]->BackColor(), qbPalette()[14]);
  EXPECT_FALSE(f.SHPTIM.Enabled());
  EXPECT_FALSE(f.IMG.Visible());
  EXPECT_TRUE(f.SEimg.Visible());
  EXPECT_TRUE(f.mnu1[1]->Enabled());
}

TEST(BackgroundEffect, ShrinksToTheCornerThenScattersAgain) {
  Game game;
  FOM& f = game.form;
  game.startFlight();
  for (Shape* s : f.SHP) {
    s->Move(10, 20, 0, 0);
  }
  f.SHP[0]->Move(95, 98, 5, 3);     // reaches past the edges: it stays there, clipped
  f.SHP[1]->Move(10, 20, 2, 7);     // exactly 2: scattered, not shrunk
  f.SHP[2]->Move(10, 20, 2.5F, 9);  // rounds to 2 (ties to even), shrinks to 1
  f.SHP[3]->Move(10, 20, 3.5F, 9);  // rounds to 4, shrinks to 3
  game.platform.randoms = {0.2, 0.305, 0.405, 0.505, 0.61};
  f.SHPTIM_Timer();
  EXPECT_EQ(f.SHP[0]->rect(), (Rect{95, 98, 4, 4}));
  EXPECT_EQ(f.SHP[1]->rect(), (Rect{31, 41, 15, 18}));
  EXPECT_EQ(f.SHP[1]->BackColor(), qbPalette()[3]);
  EXPECT_EQ(f.SHP[2]->rect(), (Rect{10, 20, 1, 1}));
  EXPECT_EQ(f.SHP[3]->rect(), (Rect{10, 20, 3, 3}));
  f.SHPTIM_Timer();
  EXPECT_EQ(f.SHP[0]->rect(), (Rect{95, 98, 3, 3}));
  EXPECT_EQ(f.SHP[3]->rect(), (Rect{10, 20, 2, 2}));
  f.SHPTIM_Timer();
  EXPECT_EQ(f.SHP[0]->rect(), (Rect{95, 98, 2, 2}));
  EXPECT_NE(f.SHP[3]->rect(), (Rect{10, 20, 2, 2}));  // scattered on the tick after 2
}

TEST(BackgroundEffect, RunsAtAboutSixtyTicksASecondAndTheOptionActsAtOnceInFlight) {
  Game game;
  FOM& f = game.form;
  game.startFlight();
  int ticks = 0;
  f.SHPTIM.onTick = [&] {
    ++ticks;
    f.SHPTIM_Timer();
  };
  game.run(1000);
  EXPECT_EQ(ticks, 1000 / TimerScheduler::kMinimumPeriodMs);

  f.mnu1_Click(2);
  EXPECT_FALSE(f.SHPTIM.Enabled());
  for (const Shape* s : f.SHP) {
    EXPECT_FALSE(s->Visible());
  }
  f.mnu1_Click(2);
  EXPECT_TRUE(f.SHPTIM.Enabled());
  for (const Shape* s : f.SHP) {
    EXPECT_TRUE(s->Visible());
  }
  // On the title the option only changes its mark.
  f.mnu2_Click();
  f.mnu1_Click(2);
  EXPECT_FALSE(f.mnu1[2]->Checked());
  EXPECT_FALSE(f.SHPTIM.Enabled());
}

}  // namespace
}  // namespace pirune::testing
