// The session's side of flight records: its one pacing rule, the flights kept behind the
// ranking's entries, and a kept flight watched in the window while the live game waits.

#include <gtest/gtest.h>

#include <variant>

#include "flight/record.h"
#include "support/live_session.h"

namespace pirune::testing {
namespace {

std::pair<std::u16string, int> entryOf(const std::string& bytes) {
  const auto record = std::get<flight::Record>(flight::decode(bytes));
  return {record.rankedName, record.rankedDistance};
}

bool enabled(const DrivingShell& shell, int id) {
  bool on = true;
  for (const MenuState& state : shell.shown) {
    on = state.id == id ? state.enabled : on;
  }
  return on;
}

TEST(Flights, AStalledWakeUpPausesTheGameAndItsLateTickComesOnce) {
  LiveSession live;
  live.session.menuCommand(kEffectItem);  // off: the flight timer alone ticks
  live.startFlight();
  live.wait(600);  // the flight timer's first tick, at 500 ms; the next due at 990
  EXPECT_EQ(live.form().altitude, 49);
  live.stall(5000);  // the window hidden for five seconds
  live.wait(1);
  EXPECT_EQ(live.form().altitude, 48);  // one tick, not ten
  live.wait(460);  // and the next a whole interval (480 ms) after it, less the lead
  EXPECT_EQ(live.form().altitude, 48);
  live.wait(20);
  EXPECT_EQ(live.form().altitude, 47);
}

TEST(Flights, EachRankedFlightIsKeptBehindItsEntryAndMovesDownWithIt) {
  LiveSession live;
  live.rankEndless(40, u"A");
  live.rankEndless(35, u"B");
  live.rankEndless(50, u"C");
  const auto& kept = live.platform.flights;
  EXPECT_EQ(entryOf(kept.at("1")), std::pair(fitName(u"C"), 50));
  EXPECT_EQ(entryOf(kept.at("2")), std::pair(fitName(u"A"), 40));
  EXPECT_EQ(entryOf(kept.at("3")), std::pair(fitName(u"B"), 35));
  EXPECT_EQ(kept.at("last"), kept.at("1"));
  const bool expected[] = {true, true, true, false, false};
  for (int place = 0; place < 5; ++place) {
    EXPECT_EQ(enabled(live.shell, kWatchFirstItem + place), expected[place]) << place;
  }
}

TEST(Flights, AWatchedFlightPlaysAtItsPaceThenAClickBringsBackTheWaitingGame) {
  LiveSession live;
  live.rankEndless(33, u"P");
  const RankTable ranking = live.form().rankTable;
  live.session.menuCommand(kEndlessItem);  // the live game back to the normal mode
  live.wait(1000);
  const auto musicDue = live.form().MMCTIM.due();

  live.session.menuCommand(kWatchFirstItem);
  ASSERT_TRUE(live.session.watching());
  EXPECT_EQ(live.shell.watching, u"リプレイ中（クリックか Esc で終わります）");
  EXPECT_TRUE(live.session.shownForm().endlessMode());
  live.wait(2000);
  EXPECT_GT(live.session.shownForm().distance, 1);
  EXPECT_LT(live.session.shownForm().distance, 33);
  live.wait(120000);
  EXPECT_EQ(live.shell.watching, u"リプレイ終わり：距離 33・飛行の途中まで");

  live.click();
  EXPECT_FALSE(live.session.watching());
  EXPECT_EQ(live.shell.watching, std::nullopt);
  EXPECT_EQ(&live.session.shownForm(), &live.form());
  // The live game waited on its title: its ranking, options and clock as they were.
  EXPECT_EQ(live.form().rankTable, ranking);
  EXPECT_FALSE(live.form().endlessMode());
  EXPECT_EQ(live.form().sceneName, u"open");
  EXPECT_GE(live.form().MMCTIM.due(), musicDue);
}

}  // namespace
}  // namespace pirune::testing
