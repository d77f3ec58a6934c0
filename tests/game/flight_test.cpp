// The flight: wing beats, the pull of the flight timer, melting wings, the fall and the goal.

#include <gtest/gtest.h>

#include "support/scripted_platform.h"

namespace pirune::testing {
namespace {

TEST(WingBeat, FramesAlternateDistanceEverySecondBeatAndTheHeroGrowsOnEvenDistances) {
  // distance, wing frame, altitude, melts, growth, the hero's place and size
  const char* beats[] = {"1 2 53 1 0 0,47,10,30", "2 1 56 1 1 0,44,11,31", "2 2 59 1 1 0,41,11,31",
                         "3 1 62 1 1 0,38,11,31", "3 2 65 1 1 0,35,11,31", "4 1 68 1 2 0,32,12,32"};
  Game game;
  game.startFlight();
  for (const char* beat : beats) {
    game.click();
    EXPECT_EQ(game.flight(), beat);
    EXPECT_EQ(game.form.IMG.Picture()->source(), game.form.wingFrame == 1 ? "wing1" : "wing2");
    EXPECT_EQ(game.caption(), decimal(game.form.distance));
  }
}

TEST(WingBeat, TheGoalIs30OnlyWithoutEndlessModeAnd30000WithIt) {
  const std::tuple<bool, int, std::u16string> cases[] = {
      {false, 29, u"end"}, {true, 29, u""}, {true, 29999, u"end"}};
  for (const auto& [endless, before, scene] : cases) {
    Game game;
    if (endless) {
      game.form.mnu1_Click(1);
    }
    game.flyAt(before, 40);
    game.click();
    EXPECT_EQ(game.scene(), scene) << before;
    // The goal beat lifts no one and stops both timers; the ending's first page shows in red.
    EXPECT_EQ(game.form.altitude, scene.empty() ? 43 : 40);
    EXPECT_EQ(game.form.piruneTIM.Enabled() || game.form.SHPTIM.Enabled(), scene.empty());
    EXPECT_EQ(!game.form.IMG.Visible() && game.form.SEimg.Visible(), !scene.empty());
    EXPECT_EQ(
        game.form.LBl.ForeColor() == kRed && game.form.LBl.TextAlignment() == Alignment::Center,
        !scene.empty());
  }
}

TEST(WingBeat, AnEndlessFlightIsRenewedAtEveryFiftyAndFliesOnPast255) {
  for (const int renewal : {50, 300}) {
    Game game;
    game.form.mnu1_Click(1);
    game.flyAt(renewal - 1, 80);
    game.form.meltCount = 4;
    game.form.growth = 24;
    game.form.IMG.Move(0, 20, 34, 54);
    game.form.piruneTIM.setInterval(90);
    game.click();  // renewed, not lifted: fresh wings, normal size where he is, mid-height
    EXPECT_EQ(game.flight(), std::to_string(renewal) + " 1 50 1 0 0,20,10,30");
    EXPECT_EQ(game.form.piruneTIM.Interval(), 290);
  }
}

TEST(Altitude, MeltsAtTheTopTenTimesAtMostAndFallsAtTheBottom) {
  const struct {
    int altitude, melts, henge;
    const char* after;  // as Game::flight() says it
    std::u16string scene, caption;
  } cases[] = {
      {96, 1, 3, "5 2 99 1 0 0,1,10,30", u"", u"1"},
      {2, 1, -1, "5 2 1 1 0 0,99,10,30", u"", u"1"},
      {97, 1, 3, "5 2 100 2 0 0,50,10,30", u"", u"つ、翼が溶ける"},
      {99, 9, 3, "5 2 102 10 0 0,50,10,30", u"", u"つ、翼が溶ける"},
      {99, 10, 3, "5 2 102 10 0 0,50,10,30", u"otiru1",
       u"翼がなくなった\r\n「もう・・・飛べない」"},
      {1, 1, -1, "5 2 0 1 0 0,50,10,30", u"otiru2",
       u"望みも達せられぬまま\r\n死んでしまった青年の魂は\r\n永久に宇宙を彷徨うのです。"},
      {3, 5, -5, "5 2 -2 5 0 0,50,10,30", u"otiru2", u""},
  };
  for (const auto& c : cases) {
    Game game;
    game.flyAt(5, static_cast<std::int16_t>(c.altitude));
    game.form.meltCount = static_cast<std::uint8_t>(c.melts);
    game.form.PIRUNEITI_HENGE(static_cast<std::int16_t>(c.henge));
    EXPECT_EQ(game.flight(), c.after);
    EXPECT_EQ(game.scene(), c.scene);
    EXPECT_TRUE(c.caption.empty() || game.caption() == c.caption) << c.after;
    EXPECT_EQ(game.form.piruneTIM.Enabled(), c.scene.empty());
    EXPECT_EQ(game.form.scenePage, c.scene.empty() ? 2 : 1);  // a fall shows its first page
    EXPECT_TRUE(game.form.SHPTIM.Enabled());                  // the shapes twinkle on behind a fall
  }
}

TEST(FlightTimer, PullsDownByTheMeltsAndRampsFrom500To90ItsLastTickToo) {
  Game game;
  game.startFlight();
  game.form.meltCount = 3;
  game.run(499);
  EXPECT_EQ(game.form.altitude, 50);
  game.run(1);
  EXPECT_EQ(game.flight(), "1 1 47 3 0 0,53,10,30");
  std::string intervals;  // after the first tick, then every tenth
  for (int tick = 1; tick <= 51; ++tick, game.form.altitude = 50) {
    intervals += tick % 10 == 1 ? std::to_string(game.form.piruneTIM.Interval()) + " " : "";
    game.form.piruneTIM_Timer();
  }
  EXPECT_EQ(intervals, "490 390 290 190 90 90 ");
  game.form.piruneTIM.setInterval(150);
  game.form.altitude = 1;
  game.form.piruneTIM_Timer();
  EXPECT_EQ(game.scene(), u"otiru2");
  EXPECT_EQ(game.form.piruneTIM.Interval(), 140);
}

TEST(Checked, CountersNeverWrap) {
  Byte byte = 255;
  Integer high = 32767;
  Integer low = -32768;
  EXPECT_THROW(++byte, OverflowError);
  EXPECT_THROW(Byte::from(-1), OverflowError);
  EXPECT_THROW(high += 1, OverflowError);
  EXPECT_THROW(low -= 1, OverflowError);
  EXPECT_EQ(byte + high + low, 255 + 32767 - 32768);
}

}  // namespace
}  // namespace pirune::testing
