// Whole games played by calls, title to title, with every timer running.

#include <gtest/gtest.h>

#include "support/scripted_platform.h"

namespace pirune::testing {
namespace {

// Keeps the hero in the middle of the window, beating whenever he sinks below 50.
void flyTo(Game& game, int distance) {
  for (int step = 0; step < 20000 && game.scene().empty() && game.form.distance < distance;
       ++step) {
    game.run(10);
    if (game.scene().empty() && game.form.altitude < 50) {
      game.click(70, 30);
    }
  }
}

TEST(WholeGame, ToTheStarThenAFallThenAnEndlessFlightIntoTheRanking) {
  Game game;
  game.run(2000);  // the title waits for the player: no flight timer runs
  EXPECT_EQ(game.form.altitude, 50);
  game.startFlight();
  flyTo(game, 30);
  EXPECT_EQ(game.scene(), u"end");
  EXPECT_EQ(game.form.piruneTIM.Interval(), 90);  // long enough a flight to reach full speed
  game.click();
  game.click();
  EXPECT_EQ(game.scene(), u"open");
  EXPECT_TRUE(game.platform.boxes.empty());  // 30 earns no place

  game.startFlight();
  game.run(20000);
  EXPECT_EQ(game.scene(), u"otiru2");
  game.click();

  game.form.mnu1_Click(1);
  game.startFlight();
  flyTo(game, 60);  // renewed at 50 on the way
  EXPECT_EQ(game.scene(), u"");
  game.platform.answers.push_back(u"PIRUNE");
  game.form.mnu2_Click();
  EXPECT_EQ(game.form.rankTable[0], (RankRecord{u"PIRUNE    ", 60}));
}

}  // namespace
}  // namespace pirune::testing
