// The menu bar's commands: help and version, the music switch, endless mode and the fresh start.

#include <gtest/gtest.h>

#include <algorithm>

#include "support/scripted_platform.h"

namespace pirune::testing {
namespace {

using Commands = std::vector<std::string>;

TEST(MenuCommands, HelpInSevenLinesAndTheVersionInTwoUnderTheGamesTitle) {
  Game game;
  for (const std::int16_t item : {0, 1, 2}) {  // there is no item 2
    game.form.playmnu1_Click(item);
  }
  ASSERT_EQ(game.platform.boxes.size(), 2U);
  const std::u16string &help = game.platform.boxes[0].text, &version = game.platform.boxes[1].text;
  EXPECT_EQ(std::count(help.begin(), help.end(), u'\n'), 6);
  EXPECT_EQ(version.substr(0, 16), u"ピルネノ翼ver1.00\r\nby");
  EXPECT_EQ(version.find(u'\n', 16), std::u16string::npos);  // two lines, no break at the end
  EXPECT_EQ(game.platform.boxes[0].title + game.platform.boxes[1].title, u"ピルネノ翼ピルネノ翼");
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
