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

#include "sound/mmc.h"

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
  wave.write(QByteArray(qsizetype{22050} * 4 * 2, '\0'));
}

TEST(WavePlayer, PlaysOnARealServerStopsRewindsJoinsTheLoopAndLetsGoWhenClosed) {
  if (QMediaDevices::audioOutputs().isEmpty()) {
    ASSERT_NE(qgetenv("PIRUNE_EXPECT_SOUND_SERVER"), "1") << "run-tests started a server";
    GTEST_SKIP() << "no sound server";
  }
  QTemporaryDir folder;
  writeSilence(folder.filePath("silence.wav"));
  desktop::WavePlayer player;
  player.open(PIRUNE_GAME_MUSIC);  // the game's own music
  EXPECT_EQ(player.lengthMs(), 30000);
  player.open(QCoreApplication::applicationFilePath().toStdString());  // no wave
  EXPECT_EQ(player.lengthMs(), 0);
  player.open(folder.filePath("silence.wav").toStdString());
  EXPECT_EQ(player.lengthMs(), 4000);
  const int streamsBefore = serverStreams();
  player.play();
  // The server takes the music at its own pace; a silent output may hold back the first second.
  EXPECT_TRUE(QTest::qWaitFor([&] { return player.processedMs() >= 1500; }, 8000));
  EXPECT_EQ(serverStreams(), streamsBefore + 1);

  player.stop();  // it stays where it was
  const std::int64_t stoppedAt = player.positionMs();
  EXPECT_GT(stoppedAt, 0);
  player.play();
  player.stop();
  EXPECT_EQ(player.positionMs(), stoppedAt);

  // A restart ("prev") just before the end lets the end play and goes on from the beginning by
  // itself; one further from the end goes back at once.
  MultimediaControl mmc(player);
  player.play();
  ASSERT_TRUE(QTest::qWaitFor([&] { return player.positionMs() >= 3000; }, 10000));
  mmc.Command("prev");
  EXPECT_GE(player.positionMs(), 3000);
  EXPECT_TRUE(QTest::qWaitFor([&] { return player.positionMs() < 1500; }, 5000));
  player.rewind();
  EXPECT_EQ(player.positionMs(), 0);

  player.close();
  EXPECT_TRUE(QTest::qWaitFor([&] { return serverStreams() == streamsBefore; }, 3000));
}

}  // namespace
}  // namespace pirune::testing

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  QCoreApplication app(argc, argv);  // the player runs on the event loop, as in the game
  return RUN_ALL_TESTS();
}
