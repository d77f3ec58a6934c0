// The story after a flight: how many clicks each way of ending a flight takes back to the title.

#include <gtest/gtest.h>

#include "support/scripted_platform.h"

namespace pirune::testing {
namespace {

TEST(Story, EachWayAFlightEndsTakesItsClicksBackToTheTitle) {
  enum class By { Label, Hero, Timer };
  const struct {
    int distance, altitude, melts;
    By by;
    std::u16string scene, firstPage;  // a word of the page's text
    int endingPages;                  // further clicks that show "end1.bmp"
  } endings[] = {
      {29, 50, 1, By::Label, u"end", u"さばく", 1},       // the goal by a click on the label
      {29, 50, 1, By::Hero, u"end", u"さばく", 2},        // the goal on the hero
      {5, 98, 10, By::Label, u"otiru1", u"飛べない", 0},  // the wings gone
      {5, 1, 1, By::Timer, u"otiru2", u"彷徨う", 0},      // the fall
  };
  for (const auto& e : endings) {
    Game game;
    game.flyAt(e.distance, static_cast<std::int16_t>(e.altitude));
    game.form.meltCount = static_cast<std::uint8_t>(e.melts);
    e.by == By::Label ? game.click() : e.by == By::Hero ? game.form.IMG_Click() : game.run(500);
    EXPECT_EQ(game.scene(), e.scene);
    EXPECT_NE(game.caption().find(e.firstPage), std::u16string::npos) << e.distance;
    EXPECT_EQ(game.picture(), e.scene == u"end" ? "end0.bmp" : "open1.bmp");
    for (int page = 0; page < e.endingPages; ++page) {
      game.click();
      EXPECT_NE(game.caption().find(u"とおいいところ"), std::u16string::npos);
      EXPECT_EQ(game.picture(), "end1.bmp");
    }
    EXPECT_EQ(game.scene(), e.scene);
    game.click();
    EXPECT_EQ(std::tuple(game.scene(), game.form.scenePage.value(), game.picture()),
              std::tuple(u"open", 0, "stt.bmp"));
  }
}

}  // namespace
}  // namespace pirune::testing
