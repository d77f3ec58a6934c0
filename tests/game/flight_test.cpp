// The flight: wing beats, the pull of the flight timer, melting wings, the fall and the goal.

#include <gtest/gtest.h>

#include "support/scripted_platform.h"

namespace pirune::testing {
namespace {

TEST(WingBeat, FramesAlternateDistanceEverySecondBeatAndTheHeroGrowsOnEvenDistances) {
  const Flight beats[] = {
      {.distance = 1, .wing = 2, .altitude = 53, .melts = 1, .growth = 0, .hero = {0, 47, 10, 30}},
      {.distance = 2, .wing = 1, .altitude = 56, .melts = 1, .growth = 1, .hero = {0, 44, 11, 31}},
      {.distance = 2, .wing = 2, .altitude = 59, .melts = 1, .growth = 1, .hero = {0, 41, 11, 31}},
      {.distance = 3, .wing = 1, .altitude = 62, .melts = 1, .growth = 1, .hero = {0, 38, 11, 31}},
      {.distance = 3, .wing = 2, .altitude = 65, .melts = 1, .growth = 1, .hero = {0, 35, 11, 31}},
      {.distance = 4, .wing = 1, .altitude = 68, .melts = 1, .growth = 2, .hero = {0, 32, 12, 32}},
  };
  Game game;
  game.startFlight();
  // The flight's label: its distance, in white, at the top left.
  EXPECT_EQ(std::tuple(game.caption(), game.form.LBl.ForeColor(), game.form.LBl.TextAlignment()),
            std::tuple(u"1", kWhite, Alignment::Left));
  for (const Flight& beat : beats) {
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
    EXPECT_EQ(game.flight(), (Flight{renewal, 1, 50, 1, 0, {0, 20, 10, 30}}));
    EXPECT_EQ(game.form.piruneTIM.Interval(), 290);
  }
}

TEST(Altitude, MeltsAtTheTopTenTimesAtMostAndFallsAtTheBottom) {
  const std::u16string fall =
      u"望みも達せられぬまま\r\n死んでしまった青年の魂は\r\n永久に宇宙を彷徨うのです。";
  // Five units flown, on the second wing frame: a push of `henge` from `altitude`.
  const struct {
    int altitude, melts, henge;
    int altitudeAfter, meltsAfter, heroTop;
    std::u16string scene, caption;
  } cases[] = {
      {96, 1, 3, /*after*/ 99, 1, 1, u"", u"1"},
      {2, 1, -1, /*after*/ 1, 1, 99, u"", u"1"},
      {97, 1, 3, /*after*/ 100, 2, 50, u"", u"つ、翼が溶ける"},
      {99, 9, 3, /*after*/ 102, 10, 50, u"", u"つ、翼が溶ける"},
      {99, 10, 3, /*after*/ 102, 10, 50, u"otiru1", u"翼がなくなった\r\n「もう・・・飛べない」"},
      {1, 1, -1, /*after*/ 0, 1, 50, u"otiru2", fall},
      {3, 5, -5, /*after*/ -2, 5, 50, u"otiru2", fall},
  };
  for (const auto& c : cases) {
    Game game;
    game.flyAt(5, static_cast<std::int16_t>(c.altitude));
    game.form.meltCount = static_cast<std::uint8_t>(c.melts);
    game.form.PIRUNEITI_HENGE(static_cast<std::int16_t>(c.henge));
    EXPECT_EQ(game.flight(),
              (Flight{5, 2, c.altitudeAfter, c.meltsAfter, 0, {0, c.heroTop, 10, 30}}));
    EXPECT_EQ(game.scene(), c.scene);
    EXPECT_EQ(game.caption(), c.caption);
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
  EXPECT_EQ(game.flight(), (Flight{1, 1, 47, 3, 0, {0, 53, 10, 30}}));
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
  // Each refused step left its counter as it was.
  EXPECT_EQ(std::tuple(int{byte}, int{high}, int{low}), std::tuple(255, 32767, -32768));
}

}  // namespace
}  // namespace pirune::testing
