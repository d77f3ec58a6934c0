// The background music: opened at start-up, looped by its own timer while the option is on,
// left alone by the game, and closed before anything else at shut-down.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/scripted_platform.h"

namespace pirune::testing {
namespace {

using Commands = std::vector<std::string>;

std::string fileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(Music, StartUpOpensTheFileAndSetsTheLoopTimerToItsLengthWithoutPlaying) {
  ScriptedPlatform platform;
  platform.musicBackend.length = 21337;
  FOM form(platform);
  form.Form_Load();

  const std::string expected = platform.folder.string() + "/o.wav";
  EXPECT_EQ(form.MMC.FileName, expected);
  EXPECT_EQ(platform.musicBackend.commands, Commands{"open:" + expected});
  EXPECT_EQ(form.MMCTIM.Interval(), 21337);
  EXPECT_TRUE(form.MMCTIM.Enabled());
  EXPECT_TRUE(form.mnu1[0]->Checked());

  // Silent for one music length, then restarted from the beginning once per length.
  form.Form_Activate();
  advance(platform, form, 21336);
  EXPECT_EQ(platform.musicBackend.commands.size(), 1U);
  advance(platform, form, 1);
  EXPECT_EQ(platform.musicBackend.commands, (Commands{"open:" + expected, "prev", "play"}));
  advance(platform, form, 21337LL * 3);
  EXPECT_EQ(platform.musicBackend.commands.size(), 1U + 2U * 4U);
}

TEST(Music, ATickRestartsOnlyWhileTheOptionIsMarked) {
  Game game;
  FOM& f = game.form;
  auto& commands = game.platform.musicBackend.commands;
  commands.clear();

  f.MMCTIM_Timer();
  EXPECT_EQ(commands, (Commands{"prev", "play"}));

  // The mark alone decides: with it cleared behind the menu's back the timer still runs,
  // and its ticks do nothing.
  f.mnu1[0]->setChecked(false);
  f.MMCTIM_Timer();
  game.run(120000);
  EXPECT_TRUE(f.MMCTIM.Enabled());
  EXPECT_EQ(commands, (Commands{"prev", "play"}));
}

TEST(Music, SwitchingOffStopsAtOnceAndSwitchingOnStartsAFullLengthAfresh) {
  Game game;  // the music is 30 s long
  FOM& f = game.form;
  auto& commands = game.platform.musicBackend.commands;
  game.run(30000);
  commands.clear();

  game.run(10000);
  f.mnu1_Click(0);
  EXPECT_EQ(commands, Commands{"stop"});
  EXPECT_FALSE(f.MMCTIM.Enabled());
  game.run(95000);
  EXPECT_EQ(commands, Commands{"stop"});

  f.mnu1_Click(0);
  EXPECT_EQ(commands, (Commands{"stop", "prev", "play"}));
  EXPECT_TRUE(f.MMCTIM.Enabled());
  EXPECT_EQ(f.MMCTIM.Interval(), 30000);  // the interval is never touched again
  game.run(29999);
  EXPECT_EQ(commands.size(), 3U);
  game.run(1);
  EXPECT_EQ(commands, (Commands{"stop", "prev", "play", "prev", "play"}));
}

TEST(Music, GamesStoriesAndBoxesLeaveTheLoopAlone) {
  Game game;
  FOM& f = game.form;
  auto& commands = game.platform.musicBackend.commands;
  commands.clear();

  game.startFlight();
  f.mnu2_Click();
  f.mnu1_Click(1);
  f.mnu1_Click(2);
  EXPECT_TRUE(commands.empty());

  // A box open for longer than the music: the loop goes on behind it.
  game.platform.whileBoxOpen = [&] { game.run(61000); };
  f.playmnu1_Click(0);
  EXPECT_EQ(commands, (Commands{"prev", "play", "prev", "play"}));
}

TEST(Music, MusicThatCannotBeOpenedLeavesTheTimerSilentForever) {
  ScriptedPlatform platform;
  platform.musicBackend.length = 0;
  FOM form(platform);
  form.Form_Load();
  form.Form_Activate();
  EXPECT_EQ(form.MMCTIM.Interval(), 0);

  advance(platform, form, 3600000);
  EXPECT_EQ(platform.musicBackend.commands.size(), 1U);  // only the open
  form.mnu1_Click(0);
  form.mnu1_Click(0);
  advance(platform, form, 3600000);
  EXPECT_EQ(platform.musicBackend.commands.size(), 1U + 3U);  // stop, prev, play; no restart
}

// Notes whether the ranking had already been written when the music was closed.
class ClosingMusic : public RecordingMusic {
 public:
  void close() override {
    RecordingMusic::close();
    rankingAtClose = fileBytes(rankingPath);
  }
  std::filesystem::path rankingPath;
  std::string rankingAtClose;
};

class ClosingPlatform : public ScriptedPlatform {
 public:
  ClosingPlatform() { closing.rankingPath = folder / "scr.dat"; }
  MusicBackend& music() override { return closing; }
  ClosingMusic closing;
};

TEST(Music, ShutDownClosesTheMusicBeforeTheRankingIsWritten) {
  ClosingPlatform platform;
  FOM form(platform);
  form.Form_Load();
  form.Form_Activate();
  const std::string before = fileBytes(platform.closing.rankingPath);
  form.rankTable[0] = RankRecord{fitName(u"ピルネ"), 77};

  std::int16_t cancel = 0;
  form.Form_Unload(cancel);

  ASSERT_FALSE(platform.closing.commands.empty());
  EXPECT_EQ(platform.closing.commands.back(), "close");
  EXPECT_EQ(platform.closing.rankingAtClose, before);
  EXPECT_NE(fileBytes(platform.closing.rankingPath), before);
}

}  // namespace
}  // namespace pirune::testing
