// Whole games, played by calls from title to title with the timers running.

#include <gtest/gtest.h>

#include "support/scripted_platform.h"

namespace pirune::testing {
namespace {

// Keeps the hero in the middle of the window: beats whenever he sinks below 50.
void flyTo(Game& game, int targetDistance, int maxSeconds = 120) {
  for (int step = 0; step < maxSeconds * 100 && game.scene().empty(); ++step) {
    if (game.form.distance >= targetDistance) {
      return;
    }
    game.run(10);
    if (game.scene().empty() && game.form.altitude < 50) {
      game.click(70, 30);
    }
  }
}

TEST(WholeGame, TitleOpeningFlightGoalEndingAndTitleAgain) {
  Game game;
  game.run(2000);  // the title waits for the player, the flight timer does not run
  EXPECT_EQ(game.form.altitude, 50);
  game.startFlight();
  flyTo(game, 30);
  EXPECT_EQ(game.scene(), u"end");
  EXPECT_EQ(game.form.distance, 30);
  EXPECT_EQ(game.form.scenePage, 2);
  EXPECT_EQ(game.form.piruneTIM.Interval(), 90);  // the flight lasted long enough to reach it
  game.run(5000);                                 // nothing moves on the ending
  EXPECT_EQ(game.form.scenePage, 2);
  game.click();
  game.click();
  EXPECT_EQ(game.scene(), u"open");
  EXPECT_EQ(game.form.distance, 1);
  EXPECT_TRUE(game.platform.boxes.empty());  // 30 earns no place in the ranking

  // The next game falls: no beats at all.
  game.startFlight();
  game.run(20000);
  EXPECT_EQ(game.scene(), u"otiru2");
  EXPECT_EQ(game.form.scenePage, 1);
  game.click();
  EXPECT_EQ(game.scene(), u"open");
  EXPECT_EQ(game.platform.picturesLoaded,
            (std::vector<std::string>{"stt.bmp", "open0.bmp", "open1.bmp", "end0.bmp", "end1.bmp",
                                      "stt.bmp", "open0.bmp", "open1.bmp", "stt.bmp"}));
}

TEST(WholeGame, FreshStartInTheMiddleOfAStoryOrAFlight) {
  Game game;
  game.click();  // opening page 0
  game.form.mnu2_Click();
  EXPECT_EQ(game.scene(), u"open");
  EXPECT_EQ(game.form.scenePage, 0);
  EXPECT_EQ(game.form.SEimg.Picture()->source(), "stt.bmp");
  game.click();
  EXPECT_EQ(game.form.SEimg.Picture()->source(), "open0.bmp");

  game.form.mnu2_Click();
  game.startFlight();
  flyTo(game, 10);
  game.form.mnu2_Click();
  EXPECT_FALSE(game.form.piruneTIM.Enabled());
  EXPECT_FALSE(game.form.SHPTIM.Enabled());
  EXPECT_FALSE(game.form.IMG.Visible());
  EXPECT_TRUE(game.form.mnu1[0]->Checked());
  EXPECT_TRUE(game.platform.musicBackend.commands.size() == 1);  // only the open at start-up
  game.run(3000);
  EXPECT_EQ(game.form.altitude, 50);
}

}  // namespace
}  // namespace pirune::testing
