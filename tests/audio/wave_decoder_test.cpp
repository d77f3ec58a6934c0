// Reading the music file: the frames that are really there, and nothing from a broken file.

#include "wave_decoder.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <string>

#include "wave_files.h"

namespace pirune::testing {
namespace {

TEST(WaveDecoder, LengthIsTheFramesOverTheRateRoundedDownAndTheSamplesAreKept) {
  ScratchFolder folder;
  struct Case {
    int rate;
    int channels;
    std::int64_t frames;
    std::int64_t ms;
  };
  for (const Case c : {Case{22050, 1, 88219, 4000}, Case{44100, 2, 44100 * 30LL, 30000},
                       Case{48000, 2, 47, 0}, Case{11025, 1, 11026, 1000}}) {
    const std::string path = folder.file("tone.wav");
    const auto samples = quietTone(c.frames, c.channels);
    writeWave(path, c.rate, c.channels, samples);

    const DecodedWave wave = decodeWave(path);
    EXPECT_EQ(wave.sampleRate, c.rate);
    EXPECT_EQ(wave.channels, c.channels);
    EXPECT_EQ(wave.frames, c.frames);
    EXPECT_EQ(wave.lengthMs(), c.ms) << c.frames << " frames at " << c.rate;
    EXPECT_EQ(wave.samples, samples);
  }

  // Other encodings arrive as 16-bit samples too.
  const std::string path = folder.file("float.wav");
  writeWave(path, 22050, 1, quietTone(2205, 1, 16000), SF_FORMAT_FLOAT);
  const DecodedWave wave = decodeWave(path);
  EXPECT_EQ(wave.lengthMs(), 100);
  ASSERT_EQ(wave.samples.size(), 2205U);
  EXPECT_NEAR(wave.samples[25], quietTone(2205, 1, 16000)[25], 2);
}

TEST(WaveDecoder, MissingEmptyAndGarbageFilesGiveNoMusic) {
  ScratchFolder folder;
  writeBytes(folder.file("empty.wav"), "");
  std::string garbage;
  std::uint32_t x = 12345;
  for (int i = 0; i < 8192; ++i) {
    x = x * 1103515245U + 12345U;
    garbage.push_back(static_cast<char>(x >> 24));
  }
  writeBytes(folder.file("garbage.wav"), garbage);
  writeBytes(folder.file("riff-only.wav"), std::string("RIFF\x04\0\0\0WAVE", 12));
  std::filesystem::create_directory(folder.path / "folder.wav");

  for (const char* name :
       {"missing.wav", "empty.wav", "garbage.wav", "riff-only.wav", "folder.wav"}) {
    const DecodedWave wave = decodeWave(folder.file(name));
    EXPECT_TRUE(wave.empty()) << name;
    EXPECT_EQ(wave.lengthMs(), 0) << name;
    EXPECT_TRUE(wave.samples.empty()) << name;
  }
}

TEST(WaveDecoder, AHeaderThatPromisesMoreThanTheFileHoldsGivesWhatIsThere) {
  ScratchFolder folder;
  const std::string good = folder.file("good.wav");
  writeWave(good, 22050, 1, quietTone(22050, 1));
  const std::string bytes = readBytes(good);
  const std::size_t data = chunkOffset(bytes, "data");
  ASSERT_NE(data, std::string::npos);

  // The data chunk claims a thousand times its size, the RIFF size follows.
  std::string boasting = bytes;
  putLittleEndian32(boasting, data + 4, 22050U * 2U * 1000U);
  putLittleEndian32(boasting, 4, 22050U * 2U * 1000U + static_cast<std::uint32_t>(data));
  writeBytes(folder.file("boasting.wav"), boasting);
  const DecodedWave all = decodeWave(folder.file("boasting.wav"));
  EXPECT_EQ(all.frames, 22050);
  EXPECT_EQ(all.lengthMs(), 1000);

  // Cut off in the middle of a sample: only whole frames count.
  writeBytes(folder.file("cut.wav"), bytes.substr(0, data + 8 + 2001));
  const DecodedWave cut = decodeWave(folder.file("cut.wav"));
  EXPECT_EQ(cut.frames, 1000);
  EXPECT_EQ(cut.lengthMs(), 45);

  // No samples at all behind a header that promises some.
  writeBytes(folder.file("hollow.wav"), boasting.substr(0, data + 8));
  EXPECT_TRUE(decodeWave(folder.file("hollow.wav")).empty());
}

TEST(WaveDecoder, ImplausibleRatesAreNoMusicAndMemoryIsBounded) {
  ScratchFolder folder;
  const std::string path = folder.file("tone.wav");
  writeWave(path, 22050, 2, quietTone(22050, 2));
  std::string bytes = readBytes(path);
  const std::size_t fmt = chunkOffset(bytes, "fmt ");
  ASSERT_NE(fmt, std::string::npos);

  // One sample a second would make three days of "music" out of a quarter gigabyte.
  std::string slow = bytes;
  putLittleEndian32(slow, fmt + 12, 1);
  putLittleEndian32(slow, fmt + 16, 4);
  writeBytes(folder.file("slow.wav"), slow);
  EXPECT_TRUE(decodeWave(folder.file("slow.wav")).empty());

  const DecodedWave capped = decodeWave(path, 4000);
  EXPECT_EQ(capped.frames, 1000);
  EXPECT_EQ(capped.samples.size(), 2000U);
  EXPECT_EQ(capped.lengthMs(), 45);
}

}  // namespace
}  // namespace pirune::testing
