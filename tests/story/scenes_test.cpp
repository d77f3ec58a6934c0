// The story pages around a flight, and how many clicks each way of ending a flight takes.

#include <gtest/gtest.h>

#include "support/scripted_platform.h"

namespace pirune::testing {
namespace {

// Brings a normal flight to the beat before the goal.
void nearGoal(Game& game) {
  game.form.distance = 29;
  game.form.wingFrame = 2;
  game.form.altitude = 50;
}

TEST(Story, OpeningPagesThenTheFlight) {
  Game game;
  FOM& f = game.form;
  EXPECT_EQ(game.platform.picturesLoaded, (std::vector<std::string>{"stt.bmp"}));
  EXPECT_EQ(game.caption(), u"");
  game.click();
  EXPECT_EQ(game.platform.picturesLoaded.back(), "open0.bmp");
  EXPECT_EQ(f.SEimg.Picture()->source(), "open0.bmp");
  EXPECT_EQ(game.caption(),
            u"\r\nあるところに\r\nとおいい\u3000よるのほしぞらに\r\nあこがれをもった\u3000せいねん"
            u"が\u3000いました。");
  EXPECT_EQ(f.scenePage, 1);
  game.click();
  EXPECT_EQ(game.platform.picturesLoaded.back(), "open1.bmp");
  EXPECT_EQ(game.caption(),
            u"\r\nそこで\r\nせいねんは\u3000ろうではねをつくり\u3000\r\nうちゅうへと\u3000とびだっ"
            u"たのです。");
  EXPECT_TRUE(f.mnu1[1]->Enabled());
  game.click();  // the flight starts, and the page counter stays
  EXPECT_EQ(game.scene(), u"");
  EXPECT_EQ(f.scenePage, 2);
  EXPECT_FALSE(f.SEimg.Visible());
  EXPECT_TRUE(f.IMG.Visible());
  EXPECT_FALSE(f.mnu1[1]->Enabled());
  EXPECT_TRUE(f.SHPTIM.Enabled());
  for (const Shape* s : f.SHP) {
    EXPECT_TRUE(s->Visible());
  }
  EXPECT_EQ(game.platform.picturesLoaded.size(), 3U);
}

TEST(Story, WithoutTheBackgroundEffectTheFlightHasNoShapes) {
  Game game;
  game.form.mnu1_Click(2);
  game.startFlight();
  EXPECT_FALSE(game.form.SHPTIM.Enabled());
  for (const Shape* s : game.form.SHP) {
    EXPECT_FALSE(s->Visible());
  }
}

TEST(Story, GoalByTheLabelTakesTwoClicksToTheNewGame) {
  Game game;
  game.startFlight();
  nearGoal(game);
  game.click();  // the goal: ending page 0 at once, and the click counts one page more
  EXPECT_EQ(game.scene(), u"end");
  EXPECT_EQ(game.form.scenePage, 2);
  EXPECT_EQ(game.form.SEimg.Picture()->source(), "end0.bmp");
  EXPECT_EQ(game.caption(),
            u"\r\nほしにおりたつと\r\nそこは\r\nあれはてた\u3000さばくの\u3000ちでした");
  game.click();
  EXPECT_EQ(game.form.SEimg.Picture()->source(), "end1.bmp");
  EXPECT_EQ(game.caption(),
            u"\r\nせいねんの\u3000あこがれた\r\nきらきらひかる\u3000あのほしは\r\nとおいいところで"
            u"しか\r\n"
            u"みられないものだったのです");
  EXPECT_EQ(game.form.scenePage, 3);
  game.click();
  EXPECT_EQ(game.scene(), u"open");
  EXPECT_EQ(game.form.scenePage, 0);
  EXPECT_EQ(game.form.SEimg.Picture()->source(), "stt.bmp");
}

TEST(Story, GoalByTheHeroOrTheWindowShowsTheLastPageTwice) {
  for (const bool byHero : {true, false}) {
    Game game;
    game.startFlight();
    nearGoal(game);
    if (byHero) {
      game.form.IMG_Click();
    } else {
      game.form.Form_MouseDown(1, 0, 5, 5);
    }
    EXPECT_EQ(game.form.scenePage, 1);
    game.click();
    game.click();
    EXPECT_EQ(game.form.SEimg.Picture()->source(), "end1.bmp");
    EXPECT_EQ(game.form.scenePage, 3);
    EXPECT_EQ(game.scene(), u"end");
    game.click();
    EXPECT_EQ(game.scene(), u"open");
  }
}

TEST(Story, AfterAFallOneClickStartsANewGameWhicheverWayItCame) {
  // By a tick: page 1 left.
  Game byTick;
  byTick.startFlight();
  byTick.form.altitude = 1;
  byTick.run(500);
  EXPECT_EQ(byTick.scene(), u"otiru2");
  EXPECT_EQ(byTick.form.scenePage, 1);
  const auto picturesBefore = byTick.platform.picturesLoaded.size();
  EXPECT_EQ(byTick.form.LBl.ForeColor(), kWhite);
  EXPECT_EQ(byTick.platform.picturesLoaded.size(), picturesBefore);  // the fall shows no picture
  byTick.click();
  EXPECT_EQ(byTick.scene(), u"open");

  // By a wing beat on the label that melts the wings for the last time: page 2 left.
  Game byBeat;
  byBeat.startFlight();
  byBeat.form.meltCount = 10;
  byBeat.form.altitude = 98;
  byBeat.click();
  EXPECT_EQ(byBeat.scene(), u"otiru1");
  EXPECT_EQ(byBeat.form.scenePage, 2);
  byBeat.click();
  EXPECT_EQ(byBeat.scene(), u"open");
  EXPECT_EQ(byBeat.form.scenePage, 0);
}

TEST(Story, AMissingStoryPictureIsARunTimeErrorNamingTheFile) {
  Game game;
  game.platform.missingPictures = {"open1.bmp"};
  game.click();
  try {
    game.click();
    FAIL() << "no error";
  } catch (const RuntimeError& e) {
    EXPECT_NE(std::string(e.what()).find("open1.bmp"), std::string::npos);
  }
}

}  // namespace
}  // namespace pirune::testing
