// The desktop's music player against a real sound server: the game's own music and a short
// silence, played, stopped, rewound, looped at its end and closed.

#include "wave_player.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QMediaDevices>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QWaveDecoder>

namespace pirune::testing {
namespace {

// Playback streams the server has open now, from every client.
int serverStreams() {
  QProcess pactl;
  pactl.start("pactl", {"list", "short", "sink-inputs"});
  return pactl.waitForFinished(5000) ? static_cast<int>(pactl.readAllStandardOutput().count('\n'))
                                     : -1;
}

// Four seconds of silence, 22050 frames a second, one channel of 16 bits.
void writeSilence(const QString& path) {
  QAudioFormat format;
  format.setSampleRate(22050);
  format.setChannelCount(1);
  format.setSampleFormat(QAudioFormat::Int16);
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  QWaveDecoder wave(&file, format);
  ASSERT_TRUE(wave.open(QIODevice::WriteOnly));
  wave.write(QByteArray(22050 * 4 * 2, '\0'));
}

TEST(WavePlayer, PlaysOnARealServerStopsRewindsJoinsTheLoopAndLetsGoWhenClosed) {
  if (QMediaDevices::audioOutputs().isEmpty()) {
    ASSERT_NE(qgetenv("PIRUNE_EXPECT_SOUND_SERVER"), "1") << "run-tests started a server";
    GTEST_SKIP() << "no sound server";
  }
  QTemporaryDir folder;
  writeSilence(folder.filePath("silence.wav"));
  desktop::WavePlayer player;
  // The game's own music, one that is not there, the build's program (no wave), the silence.
  const std::pair<QString, std::int64_t> lengths[] = {{PIRUNE_GAME_MUSIC, 30000},
                                                      {folder.filePath("none.wav"), 0},
                                                      {QCoreApplication::applicationFilePath(), 0},
                                                      {folder.filePath("silence.wav"), 4000}};
  for (const auto& [file, length] : lengths) {
    player.open(file.toStdString());
    EXPECT_EQ(player.lengthMs(), length) << file.toStdString();
  }
  const int streamsBefore = serverStreams();
  player.play();
  // The server takes the music at its own pace; a silent output may hold back the first second.
  EXPECT_TRUE(QTest::qWaitFor([&] { return player.processedMs() >= 1500; }, 8000));
  EXPECT_EQ(serverStreams(), streamsBefore + 1);

  player.stop();  // it stays where it was; "prev" goes back to the beginning
  const std::int64_t stoppedAt = player.positionMs();
  EXPECT_GT(stoppedAt, 0);
  player.play();
  player.stop();
  EXPECT_EQ(player.positionMs(), stoppedAt);
  player.rewind();
  EXPECT_EQ(player.positionMs(), 0);

  // A restart just before the end lets the end play and goes on from the beginning by itself;
  // one further from the end goes back at once.
  player.play();
  ASSERT_TRUE(QTest::qWaitFor([&] { return player.positionMs() >= 3000; }, 10000));
  player.rewind();
  EXPECT_GE(player.positionMs(), 3000);
  EXPECT_TRUE(QTest::qWaitFor([&] { return player.positionMs() < 1500; }, 5000));
  player.rewind();
  EXPECT_EQ(player.positionMs(), 0);

  player.close();
  EXPECT_EQ(player.lengthMs(), 0);
  EXPECT_TRUE(QTest::qWaitFor([&] { return serverStreams() == streamsBefore; }, 3000));
}

}  // namespace
}  // namespace pirune::testing

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  QCoreApplication app(argc, argv);  // the player runs on the event loop, as in the game
  return RUN_ALL_TESTS();
}
