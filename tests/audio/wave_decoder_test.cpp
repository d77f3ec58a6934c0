// Reading the music file: the frames that are really there, and nothing from a broken file.

#include "wave_decoder.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <QDir>
#include <string>

#include "wave_files.h"

namespace pirune::testing {
namespace {

TEST(WaveDecoder, LengthIsTheFramesWrittenOverTheRateRoundedDownAndTheSamplesAreKept) {
  ScratchFolder folder;
  struct Case {
    int rate;
    int channels;
    std::int64_t frames;
    std::int64_t ms;
  };
  for (const Case c : {Case{22050, 1, 88219, 4000}, Case{44100, 2, 44100 * 30LL, 30000},
                       Case{48000, 2, 47, 0}, Case{11025, 1, 11026, 1000}}) {
    const auto samples = quietTone(c.frames, c.channels);
    writeWave(folder.file("tone.wav"), c.rate, c.channels, samples);
    const DecodedWave wave = decodeWave(folder.file("tone.wav"));
    EXPECT_EQ(wave.sampleRate, c.rate);
    EXPECT_EQ(wave.channels, c.channels);
    EXPECT_EQ(wave.frames, c.frames);
    EXPECT_EQ(wave.lengthMs(), c.ms) << c.frames << " frames at " << c.rate;
    EXPECT_EQ(wave.samples, samples);
  }
  // Music beyond the memory allowed is left out: 4000 bytes are 2000 of the last one's frames.
  const DecodedWave capped = decodeWave(folder.file("tone.wav"), 4000);
  EXPECT_EQ(capped.frames, 2000);
  EXPECT_EQ(capped.samples.size(), 2000U);
  EXPECT_EQ(capped.lengthMs(), 181);

  // Other encodings arrive as 16-bit samples too.
  writeWave(folder.file("float.wav"), 22050, 1, quietTone(2205, 1, 16000), SF_FORMAT_FLOAT);
  const DecodedWave wave = decodeWave(folder.file("float.wav"));
  EXPECT_EQ(wave.lengthMs(), 100);
  ASSERT_EQ(wave.samples.size(), 2205U);
  EXPECT_NEAR(wave.samples[25], quietTone(26, 1, 16000)[25], 2);
}

TEST(WaveDecoder, ABrokenOrBoastingFileGivesOnlyTheWholeFramesThatAreThere) {
  ScratchFolder folder;
  writeWave(folder.file("good.wav"), 22050, 1, quietTone(22050, 1));
  const std::string good = readBytes(folder.file("good.wav"));
  const std::size_t fmt = good.find("fmt ");
  const std::size_t data = good.find("data");
  ASSERT_LT(fmt, data);
  // The data chunk claims a thousand times its size, and the RIFF size follows.
  std::string boasting = good;
  putLittleEndian32(boasting, data + 4, 22050U * 2U * 1000U);
  putLittleEndian32(boasting, 4, 22050U * 2U * 1000U + static_cast<std::uint32_t>(data));
  // One sample a second would make days of "music" out of a few megabytes.
  std::string slow = good;
  putLittleEndian32(slow, fmt + 12, 1);
  putLittleEndian32(slow, fmt + 16, 2);
  ASSERT_TRUE(QDir(folder.path()).mkdir("folder.wav"));

  const std::pair<const char*, std::string> files[] = {
      {"empty.wav", ""},
      {"garbage.wav", std::string(8192, '\x5a')},
      {"riff-only.wav", std::string("RIFF\x04\0\0\0WAVE", 12)},
      {"boasting.wav", boasting},
      {"cut.wav", good.substr(0, data + 8 + 2001)},  // ends in the middle of a sample
      {"hollow.wav", boasting.substr(0, data + 8)},
      {"slow.wav", slow},
  };
  for (const auto& [name, bytes] : files) {
    writeBytes(folder.file(name), bytes);
  }
  struct Expected {
    const char* name;
    std::int64_t frames;
    std::int64_t ms;
  };
  for (const Expected e : {Expected{"missing.wav", 0, 0},
                           {"folder.wav", 0, 0},
                           {"empty.wav", 0, 0},
                           {"garbage.wav", 0, 0},
                           {"riff-only.wav", 0, 0},
                           {"boasting.wav", 22050, 1000},
                           {"cut.wav", 1000, 45},
                           {"hollow.wav", 0, 0},
                           {"slow.wav", 0, 0}}) {
    const DecodedWave wave = decodeWave(folder.file(e.name));
    EXPECT_EQ(wave.frames, e.frames) << e.name;
    EXPECT_EQ(wave.samples.size(), static_cast<std::size_t>(e.frames)) << e.name;
    EXPECT_EQ(wave.lengthMs(), e.ms) << e.name;
  }
}

}  // namespace
}  // namespace pirune::testing
