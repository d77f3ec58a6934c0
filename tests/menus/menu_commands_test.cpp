// The menu bar's commands: help and version, the options and the fresh start.

#include <gtest/gtest.h>

#include "support/scripted_platform.h"

namespace pirune::testing {
namespace {

TEST(MenuCommands, HelpAndVersionSpeakInTheirOwnWords) {
  Game game;
  game.form.playmnu1_Click(0);
  game.form.playmnu1_Click(1);
  game.form.playmnu1_Click(2);  // no such item: nothing
  ASSERT_EQ(game.platform.boxes.size(), 2U);
  EXPECT_EQ(game.platform.boxes[0].text,
            u"マウスクリックでピルネが羽ばたきます。\r\n飛びすぎると羽が溶けて\r\n"
            u"ピルネノ飛行ダウン率が上がります。\r\n下がりすぎると死にます。\r\n"
            u"オプションの無限メニュウで\r\n何処までも飛んでいくことが出来ます。\r\n"
            u"（コンピューターの限界まで）");
  const std::u16string& version = game.platform.boxes[1].text;
  EXPECT_EQ(version.substr(0, 14), u"ピルネノ翼ver1.00\r\n");
  EXPECT_EQ(version.substr(14, 2), u"by");
  EXPECT_EQ(version.find(u'\n', 14), std::u16string::npos);  // two lines, no break at the end
  for (const Box& box : game.platform.boxes) {
    EXPECT_EQ(box.title, u"ピルネノ翼");
    EXPECT_FALSE(box.input);
  }
}

TEST(MenuCommands, MusicSwitchesAtOnceAndEachSwitchOnRestartsTheCountdown) {
  Game game;
  FOM& f = game.form;
  auto& commands = game.platform.musicBackend.commands;
  commands.clear();
  f.mnu1_Click(0);  // off
  EXPECT_FALSE(f.mnu1[0]->Checked());
  EXPECT_EQ(commands, (std::vector<std::string>{"stop"}));
  EXPECT_FALSE(f.MMCTIM.Enabled());
  game.run(40000);
  EXPECT_EQ(commands.size(), 1U);  // no restart while off
  f.mnu1_Click(0);                 // on: from the beginning at once
  EXPECT_EQ(commands, (std::vector<std::string>{"stop", "prev", "play"}));
  game.run(29000);
  f.mnu1_Click(0);
  f.mnu1_Click(0);
  game.run(29000);  // the countdown began again at the last switch
  EXPECT_EQ(commands.size(), 6U);
  game.run(1000);
  EXPECT_EQ(commands.size(), 8U);
  EXPECT_EQ(commands.back(), "play");
}

TEST(MenuCommands, EndlessModeIsLockedDuringAFlightAndAFreshStartKeepsTheOptions) {
  Game game;
  FOM& f = game.form;
  f.mnu1_Click(1);
  EXPECT_TRUE(f.mnu1[1]->Checked());
  game.startFlight();
  EXPECT_FALSE(f.mnu1[1]->Enabled());
  f.mnu1_Click(0);
  f.mnu2_Click();
  EXPECT_TRUE(f.mnu1[1]->Enabled());
  EXPECT_TRUE(f.mnu1[1]->Checked());
  EXPECT_FALSE(f.mnu1[0]->Checked());
  EXPECT_TRUE(f.mnu1[2]->Checked());
  EXPECT_EQ(game.scene(), u"open");
}

}  // namespace
}  // namespace pirune::testing
