// The menu bar's commands: help and version, the music switch, endless mode and the fresh start.

#include <gtest/gtest.h>

#include <algorithm>

#include "support/scripted_platform.h"

namespace pirune::testing {
namespace {

using Commands = std::vector<std::string>;

TEST(MenuCommands, HelpAndVersionAreShownWholeUnderTheGamesTitleAndNoOtherItemShowsABox) {
  Game game;
  for (const std::int16_t item : {0, 1, 2}) {  // there is no item 2
    game.form.playmnu1_Click(item);
  }
  // Each box shows its text whole, its lines broken at LF, the one break every shell shows.
  const std::vector<Box> expected = {
      {u"マウスクリックでピルネが羽ばたきます。\n飛びすぎると羽が溶けて\n"
       u"ピルネノ飛行ダウン率が上がります。\n下がりすぎると死にます。\n"
       u"オプションの無限メニュウで\n何処までも飛んでいくことが出来ます。\n"
       u"（コンピューターの限界まで）",
       u"ピルネノ翼"},
      {u"ピルネノ翼ver1.00\nby the ピルネノ翼 project", u"ピルネノ翼"},
  };
  ASSERT_EQ(game.platform.boxes.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(game.platform.boxes[i].text, expected[i].text) << i;
    EXPECT_EQ(game.platform.boxes[i].title, expected[i].title) << i;
    EXPECT_FALSE(game.platform.boxes[i].input) << i;
  }
}

TEST(MenuCommands, TheMusicSwitchStopsAtOnceAndEachSwitchOnRestartsTheCountdown) {
  Game game;  // the music is 30 s long
  Commands& commands = game.platform.musicBackend.commands;
  commands.clear();
  game.form.mnu1_Click(0);
  EXPECT_EQ(commands, Commands{"stop"});
  EXPECT_FALSE(game.form.MMCTIM.Enabled());
  game.run(95000);
  EXPECT_EQ(commands, Commands{"stop"});
  game.form.mnu1_Click(0);  // on: from the beginning at once
  EXPECT_EQ(commands, (Commands{"stop", "prev", "play"}));
  game.run(29000);
  game.form.mnu1_Click(0);
  game.form.mnu1_Click(0);
  game.run(29999);  // the countdown began again at the last switch
  EXPECT_EQ(commands.size(), 6U);
  game.run(1);
  EXPECT_EQ(commands, (Commands{"stop", "prev", "play", "stop", "prev", "play", "prev", "play"}));
}

}  // namespace
}  // namespace pirune::testing
