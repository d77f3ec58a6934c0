// The desktop's music player against a real sound server, and without one.

#include "wave_player.h"

#include <gtest/gtest.h>

#include <QAudioDevice>
#include <QElapsedTimer>
#include <QMediaDevices>
#include <QProcess>
#include <QTest>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "wave_files.h"

namespace pirune::testing {
namespace {

// Playback streams the server has open now, from every client; -1 when pactl cannot tell.
int serverStreams() {
  QProcess pactl;
  pactl.start("pactl", {"list", "short", "sink-inputs"});
  if (!pactl.waitForFinished(5000) || pactl.exitCode() != 0) {
    return -1;
  }
  return static_cast<int>(pactl.readAllStandardOutput().count('\n'));
}

// Without an output the test is skipped, unless run-tests promised a server: then it fails.
#define PIRUNE_REQUIRE_SOUND_OUTPUT()                                                  \
  if (QMediaDevices::audioOutputs().isEmpty()) {                                       \
    ASSERT_NE(qEnvironmentVariable("PIRUNE_EXPECT_SOUND_SERVER"), "1") << "no output"; \
    GTEST_SKIP() << "no sound server";                                                 \
  }

TEST(WavePlayer, PlaysOnARealServerStopsRewindsJoinsTheLoopAndLetsGoWhenClosed) {
  PIRUNE_REQUIRE_SOUND_OUTPUT();
  ScratchFolder folder;
  writeWave(folder.file("long.wav"), 44100, 2, quietTone(44100LL * 30 + 441, 2));
  writeWave(folder.file("tone.wav"), 22050, 1, quietTone(22050LL * 4 + 17, 1));
  const int streamsBefore = serverStreams();

  // The length of what libsndfile wrote, in whole milliseconds; none before or after.
  WavePlayer player;
  EXPECT_EQ(player.lengthMs(), 0);
  player.open(folder.file("long.wav"));
  EXPECT_EQ(player.lengthMs(), 30010);
  player.open(folder.file("tone.wav"));
  ASSERT_EQ(player.lengthMs(), 4000);
  QElapsedTimer clock;
  clock.start();
  player.rewind();
  player.play();
  EXPECT_LT(clock.elapsed(), 1000) << "play must not wait for the music";

  // The server takes the music at its own pace (a silent output may hold back the first
  // second or so): over a few seconds it must really have run.
  EXPECT_TRUE(QTest::qWaitFor([&] { return player.processedMs() >= 1500; }, 8000))
      << "played " << player.processedMs() << " ms";
  if (streamsBefore >= 0) {
    EXPECT_EQ(serverStreams(), streamsBefore + 1);
  }

  // Stopped, it stays where it was; "prev" goes back to the beginning.
  player.stop();
  const std::int64_t stoppedAt = player.positionMs();
  EXPECT_GT(stoppedAt, 0);
  QTest::qWait(600);
  EXPECT_EQ(player.positionMs(), stoppedAt);
  player.rewind();
  EXPECT_EQ(player.positionMs(), 0);

  // Played to its end, then restarted the way the loop timer does it.
  player.play();
  EXPECT_TRUE(QTest::qWaitFor([&] { return player.positionMs() == 4000; }, 10000));
  QTest::qWait(300);
  player.rewind();
  EXPECT_EQ(player.positionMs(), 0);
  player.play();
  EXPECT_TRUE(QTest::qWaitFor([&] { return player.positionMs() > 0; }, 5000));

  // A restart just before the end lets the end play and goes on from the beginning by itself;
  // one further from the end goes back at once.
  ASSERT_TRUE(QTest::qWaitFor([&] { return player.positionMs() >= 3000; }, 10000));
  player.rewind();
  EXPECT_GE(player.positionMs(), 3000);
  EXPECT_TRUE(QTest::qWaitFor([&] { return player.positionMs() < 1500; }, 5000))
      << "the music did not go on from the beginning";
  player.rewind();
  EXPECT_EQ(player.positionMs(), 0);
  // Stopped while a restart waits for the end, it stands at the beginning.
  ASSERT_TRUE(QTest::qWaitFor([&] { return player.positionMs() >= 3000; }, 10000));
  player.rewind();
  player.stop();
  EXPECT_EQ(player.positionMs(), 0);

  // Closed, its stream is gone and nothing plays any more.
  player.close();
  EXPECT_EQ(player.lengthMs(), 0);
  if (streamsBefore >= 0) {
    EXPECT_TRUE(QTest::qWaitFor([&] { return serverStreams() == streamsBefore; }, 3000));
  }
  player.rewind();
  player.play();
  QTest::qWait(300);
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
    QTest::qWait(200);
    EXPECT_EQ(player.processedMs() + player.positionMs(), 0) << name;
    EXPECT_TRUE(streamsBefore < 0 || serverStreams() == streamsBefore) << name;
    player.stop();
    player.close();
  }
}

// Runs in a fresh copy of the program, whose sound output is a server that is not there.
void playWithoutServer(ScratchFolder& folder) {
  setenv("PULSE_SERVER", "unix:/nonexistent/pirune-no-server/native", 1);
  QElapsedTimer clock;
  clock.start();
  WavePlayer player;
  player.open(folder.file("tone.wav"));
  const std::int64_t length = player.lengthMs();
  player.rewind();
  player.play();
  QTest::qWait(300);
  const std::int64_t position = player.positionMs();
  player.stop();
  player.close();
  const qint64 took = clock.elapsed();
  std::fprintf(stderr, "length %lld, position %lld, %lld ms\n", static_cast<long long>(length),
               static_cast<long long>(position), static_cast<long long>(took));
  folder.remove();  // _Exit runs no destructor
  std::_Exit(length == 0 && position == 0 && took < 3000 ? 0 : 1);
}

TEST(WavePlayer, WithoutASoundServerTheLengthIsZeroAndNothingWaits) {
  ScratchFolder folder;
  writeWave(folder.file("tone.wav"), 22050, 1, quietTone(22050LL * 4, 1));
  EXPECT_EXIT(playWithoutServer(folder), ::testing::ExitedWithCode(0), "length 0, position 0");
}

}  // namespace
}  // namespace pirune::testing
