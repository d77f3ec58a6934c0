// The background music: opened at start-up, looped by its own timer while the option is on,
// left alone by the game, and closed before the ranking is written at shut-down.

#include <gtest/gtest.h>

#include "sound/mmc.h"
#include "support/recording_music.h"
#include "support/scripted_platform.h"

namespace pirune::testing {
namespace {

using Commands = std::vector<std::string>;

TEST(Music, SilentForOneLengthThenLoopedByItsTimerWhateverTheGameDoesUntilSwitchedOff) {
  Game game(21337);
  const Commands& commands = game.platform.musicBackend.commands;
  EXPECT_EQ(game.form.MMCTIM.Interval(), 21337);
  game.run(21336);
  EXPECT_EQ(commands.size(), 1U);  // only the open
  game.run(1);
  // New games, stories, options and a box open for two lengths leave the loop alone.
  game.startFlight();
  game.form.mnu2_Click();
  game.form.mnu1_Click(1);
  game.form.mnu1_Click(2);
  game.platform.whileBoxOpen = [&] { game.run(std::int64_t{2} * 21337); };
  game.form.playmnu1_Click(0);
  EXPECT_EQ(commands, (Commands{"open:" + game.platform.folder.string() + "/o.wav", "prev", "play",
                                "prev", "play", "prev", "play"}));
  // Switched off: stopped at once, and its timer plays nothing more.
  game.form.mnu1_Click(0);
  game.run(100000);
  EXPECT_EQ(commands.size(), 8U);
  EXPECT_EQ(commands.back(), "stop");
  // Switched on: from the beginning at once, and one length from then on, again.
  game.form.mnu1_Click(0);
  game.run(21336);
  EXPECT_EQ(Commands(commands.begin() + 8, commands.end()), (Commands{"prev", "play"}));
  game.run(1);
  EXPECT_EQ(commands.size(), 12U);
}

TEST(Music, ARestartNearEitherEndJoinsTheLoopAndOneMidwayCutsAtOnce) {
  const std::pair<std::optional<std::int64_t>, const char*> cases[] = {
      {std::nullopt, "prev"}, {0, "prev at end"}, {1500, "prev at end"},
      {1501, "prev"},         {28499, "prev"},    {28500, "prev at end"}};
  for (const auto& [at, command] : cases) {
    RecordingMusic music;
    music.at = at;
    MultimediaControl(music).Command("prev");
    EXPECT_EQ(music.commands, Commands{command}) << at.value_or(-1);
  }
}

}  // namespace
}  // namespace pirune::testing
