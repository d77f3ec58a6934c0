// The desktop's music player against a real sound server, and without one.

#include "wave_player.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "sound_server.h"
#include "wave_files.h"

namespace pirune::testing {
namespace {

TEST(WavePlayer, ReportsTheLengthOfTheWaveItOpenedAndNoneAfterClosing) {
  PIRUNE_REQUIRE_SOUND_OUTPUT();
  ScratchFolder folder;
  writeWave(folder.file("short.wav"), 22050, 1, quietTone(88219, 1));
  writeWave(folder.file("long.wav"), 44100, 2, quietTone(44100LL * 30 + 441, 2));

  WavePlayer player;
  EXPECT_EQ(player.lengthMs(), 0);
  player.open(folder.file("short.wav"));
  EXPECT_EQ(player.lengthMs(), 4000);
  player.open(folder.file("long.wav"));
  EXPECT_EQ(player.lengthMs(), 30010);
  player.close();
  EXPECT_EQ(player.lengthMs(), 0);
  player.close();
  EXPECT_EQ(player.lengthMs(), 0);
}

TEST(WavePlayer, PlaysOnARealServerStopsRewindsAndJoinsTheLoop) {
  PIRUNE_REQUIRE_SOUND_OUTPUT();
  ScratchFolder folder;
  writeWave(folder.file("tone.wav"), 22050, 1, quietTone(22050LL * 4, 1));
  const int streamsBefore = serverStreams();

  WavePlayer player;
  player.open(folder.file("tone.wav"));
  ASSERT_EQ(player.lengthMs(), 4000);
  QElapsedTimer clock;
  clock.start();
  player.rewind();
  player.play();
  EXPECT_LT(clock.elapsed(), 1000) << "play must not wait for the music";

  // The server takes the music at its own pace (a silent output may hold back the first
  // second or so): over a few seconds it must really have run.
  EXPECT_TRUE(waitUntil([&] { return player.processedMs() >= 1500; }, 8000))
      << "played " << player.processedMs() << " ms";
  if (streamsBefore >= 0) {
    EXPECT_EQ(serverStreams(), streamsBefore + 1);
  }

  // Stopped, it stays where it was; "prev" goes back to the beginning.
  player.stop();
  const std::int64_t stoppedAt = player.positionMs();
  EXPECT_GT(stoppedAt, 0);
  letRun(600);
  EXPECT_EQ(player.positionMs(), stoppedAt);
  player.rewind();
  EXPECT_EQ(player.positionMs(), 0);

  // Played to its end, then restarted the way the loop timer does it.
  player.play();
  EXPECT_TRUE(waitUntil([&] { return player.positionMs() == 4000; }, 10000));
  letRun(300);
  player.rewind();
  EXPECT_EQ(player.positionMs(), 0);
  player.play();
  EXPECT_TRUE(waitUntil([&] { return player.positionMs() > 0; }, 5000));

  // A restart just before the end lets the end play and goes on from the beginning by itself;
  // one further from the end goes back at once.
  ASSERT_TRUE(waitUntil([&] { return player.positionMs() >= 3000; }, 10000));
  player.rewind();
  EXPECT_GE(player.positionMs(), 3000);
  EXPECT_TRUE(waitUntil([&] { return player.positionMs() < 1500; }, 5000))
      << "the music did not go on from the beginning";
  player.rewind();
  EXPECT_EQ(player.positionMs(), 0);

  player.close();
  EXPECT_EQ(player.lengthMs(), 0);
  if (streamsBefore >= 0) {
    EXPECT_TRUE(waitUntil([&] { return serverStreams() == streamsBefore; }, 3000));
  }
  player.rewind();
  player.play();
  letRun(300);
  EXPECT_EQ(player.positionMs(), 0);
}

TEST(WavePlayer, UnreadableMusicIsSilentEvenWithASoundServer) {
  PIRUNE_REQUIRE_SOUND_OUTPUT();
  ScratchFolder folder;
  writeBytes(folder.file("empty.wav"), "");
  writeBytes(folder.file("garbage.wav"), std::string(4096, '\x5a'));
  const int streamsBefore = serverStreams();

  for (const char* name : {"missing.wav", "empty.wav", "garbage.wav"}) {
    WavePlayer player;
    player.open(folder.file(name));
    EXPECT_EQ(player.lengthMs(), 0) << name;
    player.rewind();
    player.play();
    letRun(200);
    EXPECT_EQ(player.processedMs(), 0) << name;
    EXPECT_EQ(player.positionMs(), 0) << name;
    if (streamsBefore >= 0) {
      EXPECT_EQ(serverStreams(), streamsBefore) << name;
    }
    player.stop();
    player.close();
  }
}

// Runs in a fresh copy of the program, whose sound output is a server that is not there.
void playWithoutServer(const ScratchFolder& folder) {
  setenv("PULSE_SERVER", "unix:/nonexistent/pirune-no-server/native", 1);
  QElapsedTimer clock;
  clock.start();
  WavePlayer player;
  player.open(folder.file("tone.wav"));
  const std::int64_t length = player.lengthMs();
  player.rewind();
  player.play();
  letRun(300);
  const std::int64_t position = player.positionMs();
  player.stop();
  player.close();
  const qint64 took = clock.elapsed();
  std::fprintf(stderr, "length %lld, position %lld, %lld ms\n", static_cast<long long>(length),
               static_cast<long long>(position), static_cast<long long>(took));
  std::error_code ignored;
  std::filesystem::remove_all(folder.path, ignored);  // _Exit runs no destructor
  std::_Exit(length == 0 && position == 0 && took < 3000 ? 0 : 1);
}

TEST(WavePlayer, WithoutASoundServerTheLengthIsZeroAndNothingWaits) {
  ScratchFolder folder;
  writeWave(folder.file("tone.wav"), 22050, 1, quietTone(22050LL * 4, 1));
  EXPECT_EXIT(playWithoutServer(folder), ::testing::ExitedWithCode(0), "length 0, position 0");
}

}  // namespace
}  // namespace pirune::testing
