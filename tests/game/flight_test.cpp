// The flight: wing beats, the pull of the flight timer, melting wings and the fall.

#include <gtest/gtest.h>

#include "support/scripted_platform.h"

namespace pirune::testing {
namespace {

TEST(Flight, StartsWithTheFirstTickAndAWingBeatPerClick) {
  Game game;
  game.startFlight();
  FOM& f = game.form;
  EXPECT_EQ(game.scene(), u"");
  EXPECT_EQ(game.caption(), u"1");
  EXPECT_EQ(f.LBl.ForeColor(), kWhite);
  EXPECT_EQ(f.LBl.TextAlignment(), Alignment::Left);
  EXPECT_TRUE(f.piruneTIM.Enabled());
  EXPECT_EQ(f.piruneTIM.Interval(), 500);

  // The first tick: one unit down, the hero's top edge at 100 - 49.
  game.run(500);
  EXPECT_EQ(f.altitude, 49);
  EXPECT_EQ(f.IMG.rect(), (Rect{0, 51, 10, 30}));
  EXPECT_EQ(f.piruneTIM.Interval(), 490);

  // First beat: wing picture 2, no distance; second: picture 1 and distance 2, one size up.
  game.click();
  EXPECT_EQ(f.wingFrame, 2);
  EXPECT_EQ(f.IMG.Picture()->source(), "wing2");
  EXPECT_EQ(f.distance, 1);
  EXPECT_EQ(f.altitude, 52);
  game.click();
  EXPECT_EQ(f.IMG.Picture()->source(), "wing1");
  EXPECT_EQ(f.distance, 2);
  EXPECT_EQ(game.caption(), u"2");
  EXPECT_EQ(f.growth, 1);
  EXPECT_EQ(f.IMG.rect(), (Rect{0, 45, 11, 31}));
  // Odd distances leave the size alone.
  game.click();
  game.click();
  EXPECT_EQ(f.distance, 3);
  EXPECT_EQ(f.growth, 1);
}

TEST(Flight, TimerRampsFrom500To90AndTheTickThatEndsTheFlightStillShortensIt) {
  Game game;
  game.startFlight();
  FOM& f = game.form;
  f.altitude = 99;  // high enough to survive the ramp
  std::vector<int> intervals;
  for (int i = 0; i < 42; ++i) {
    intervals.push_back(f.piruneTIM.Interval());
    f.piruneTIM_Timer();
    f.altitude = 99;
    f.meltCount = 1;
  }
  EXPECT_EQ(intervals[0], 500);
  EXPECT_EQ(intervals[1], 490);
  EXPECT_EQ(intervals[40], 100);
  EXPECT_EQ(intervals[41], 90);  // the 41st tick made it 90
  EXPECT_EQ(f.piruneTIM.Interval(), 90);

  f.piruneTIM.setInterval(150);
  f.altitude = 1;
  f.piruneTIM_Timer();  // the fall
  EXPECT_EQ(game.scene(), u"otiru2");
  EXPECT_EQ(f.piruneTIM.Interval(), 140);
  EXPECT_FALSE(f.piruneTIM.Enabled());
}

TEST(Flight, MeltingRepeatsAtTheTopAndTheTenthTimeTheWingsAreGone) {
  Game game;
  game.startFlight();
  FOM& f = game.form;
  f.altitude = 96;
  game.click();  // 99: still flying
  EXPECT_EQ(f.IMG.Top(), 1);
  const Rect before = f.IMG.rect();
  game.click();  // 102: the first melt
  EXPECT_EQ(game.caption(), u"つ、翼が溶ける");
  EXPECT_EQ(f.meltCount, 2);
  EXPECT_EQ(f.IMG.rect(), before);  // not moved, not resized
  f.piruneTIM_Timer();              // 100 by the tick: melts again
  EXPECT_EQ(f.altitude, 100);
  EXPECT_EQ(f.meltCount, 3);
  // The message stays until the next distance step puts the number back.
  f.altitude = 50;
  game.click();
  EXPECT_EQ(game.caption(), u"つ、翼が溶ける");
  game.click();
  EXPECT_EQ(game.caption(), decimal(f.distance));

  f.meltCount = 9;
  f.altitude = 99;
  f.PIRUNEITI_HENGE(3);
  EXPECT_EQ(f.meltCount, 10);
  EXPECT_EQ(game.scene(), u"");
  f.PIRUNEITI_HENGE(3);  // the tenth time
  EXPECT_EQ(game.scene(), u"otiru1");
  EXPECT_EQ(f.scenePage, 1);
  EXPECT_EQ(game.caption(), u"翼がなくなった\r\n「もう・・・飛べない」");
  EXPECT_FALSE(f.piruneTIM.Enabled());
  EXPECT_TRUE(f.IMG.Visible());
  EXPECT_TRUE(f.SHPTIM.Enabled());  // the shapes twinkle on behind the fall
  EXPECT_EQ(f.LBl.ForeColor(), kWhite);
  EXPECT_EQ(f.meltCount, 10);
}

TEST(Flight, ExactlyZeroIsAFallAndTheHeroStaysWhereHeWasDrawn) {
  Game game;
  game.startFlight();
  FOM& f = game.form;
  f.altitude = 3;
  f.meltCount = 5;
  f.PIRUNEITI_HENGE(0);
  const Rect lastDrawn = f.IMG.rect();
  game.run(500);  // 3 - 5 = -2
  EXPECT_EQ(f.altitude, -2);
  EXPECT_EQ(game.scene(), u"otiru2");
  EXPECT_EQ(f.scenePage, 1);
  EXPECT_EQ(game.caption(),
            u"望みも達せられぬまま\r\n死んでしまった青年の魂は\r\n永久に宇宙を彷徨うのです。");
  EXPECT_EQ(f.IMG.rect(), lastDrawn);
  EXPECT_FALSE(f.SEimg.Visible());

  Game exact;
  exact.startFlight();
  exact.form.altitude = 1;
  exact.form.piruneTIM_Timer();
  EXPECT_EQ(exact.form.altitude, 0);
  EXPECT_EQ(exact.scene(), u"otiru2");
}

TEST(Flight, GoalAtTheFiftyEighthBeatInNormalModeOnly) {
  Game game;
  game.startFlight();
  FOM& f = game.form;
  for (int beat = 1; beat < 58; ++beat) {
    f.altitude = 40;
    game.click();
  }
  EXPECT_EQ(f.distance, 29);
  EXPECT_EQ(game.scene(), u"");
  f.altitude = 40;
  game.click();  // the 58th beat
  EXPECT_EQ(f.distance, 30);
  EXPECT_EQ(game.scene(), u"end");
  EXPECT_EQ(f.altitude, 40);  // the goal beat lifts no one
  EXPECT_FALSE(f.IMG.Visible());
  EXPECT_TRUE(f.SEimg.Visible());
  EXPECT_FALSE(f.piruneTIM.Enabled());
  EXPECT_FALSE(f.SHPTIM.Enabled());
  EXPECT_EQ(f.LBl.ForeColor(), kRed);
  EXPECT_EQ(f.LBl.TextAlignment(), Alignment::Center);
  EXPECT_EQ(game.platform.picturesLoaded.back(), "end0.bmp");

  Game endless;
  endless.form.mnu1_Click(1);
  endless.startFlight();
  endless.form.distance = 29;
  endless.form.wingFrame = 2;
  endless.form.altitude = 40;
  endless.click();
  EXPECT_EQ(endless.form.distance, 30);
  EXPECT_EQ(endless.scene(), u"");
  EXPECT_EQ(endless.form.altitude, 43);
  EXPECT_EQ(endless.caption(), u"30");
}

TEST(Flight, EndlessFlightIsRenewedEveryFiftyAndGoesOnPast255) {
  Game game;
  game.form.mnu1_Click(1);
  game.startFlight();
  FOM& f = game.form;
  f.distance = 49;
  f.wingFrame = 2;
  f.altitude = 80;
  f.meltCount = 4;
  f.growth = 24;
  f.IMG.Move(0, 20, 34, 54);
  f.piruneTIM.setInterval(90);
  game.click();
  EXPECT_EQ(f.distance, 50);
  EXPECT_EQ(f.altitude, 50);  // renewed, not lifted by 3
  EXPECT_EQ(f.meltCount, 1);
  EXPECT_EQ(f.growth, 0);
  EXPECT_EQ(f.piruneTIM.Interval(), 290);
  EXPECT_EQ(f.IMG.rect(), (Rect{0, 20, 10, 30}));  // shrunk in place

  // The old 8-bit distance ended the program at 255; an endless flight now flies on.
  f.distance = 255;
  f.wingFrame = 2;
  f.altitude = 50;
  game.click();
  EXPECT_EQ(f.distance, 256);
  EXPECT_EQ(game.caption(), u"256");

  f.distance = 29999;
  f.wingFrame = 2;
  game.click();
  EXPECT_EQ(game.scene(), u"end");
}

TEST(Flight, AnyButtonOnTheBareWindowIsAWingBeat) {
  Game game;
  game.startFlight();
  FOM& f = game.form;
  // Nothing covers the window's surface in play; move the label aside to reach it.
  f.LBl.Move(0, 0, 100, 10);
  f.pointerPressed(MouseButton::Right, 0, 90, 10);
  EXPECT_EQ(f.wingFrame, 2);
  f.pointerPressed(MouseButton::Middle, 1, 90, 10);
  EXPECT_EQ(f.wingFrame, 1);
  EXPECT_EQ(f.distance, 2);
}

TEST(Checked, CountersNeverWrap) {
  Byte b = 254;
  ++b;
  EXPECT_EQ(b, 255);
  EXPECT_THROW(++b, OverflowError);
  EXPECT_EQ(b, 255);
  Integer i = 32767;
  EXPECT_THROW(i += 1, OverflowError);
  Integer low = -32768;
  EXPECT_THROW(low -= 1, OverflowError);
  EXPECT_THROW(Byte::from(-1), OverflowError);
}

}  // namespace
}  // namespace pirune::testing
