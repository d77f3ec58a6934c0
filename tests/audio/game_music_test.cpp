// The game's own music as the build leaves it in the game's folder: the right kind of file,
// comfortable levels, no gap, and an end that joins its beginning without a click.

#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>

#include "wave_decoder.h"

namespace pirune::testing {
namespace {

double dbfs(double squares, double count) {
  return 10.0 * std::log10(std::max(squares / count, 1e-24));
}

TEST(GameMusic, IsAHalfMinute16BitWaveOfGentleLevelsWithoutGapsThatLoopsWithoutAClick) {
  SF_INFO info{};
  SNDFILE* file = sf_open(PIRUNE_GAME_MUSIC, SFM_READ, &info);
  ASSERT_NE(file, nullptr) << PIRUNE_GAME_MUSIC << ": " << sf_strerror(nullptr);
  sf_close(file);
  EXPECT_EQ(info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
  EXPECT_TRUE(info.samplerate == 44100 || info.samplerate == 22050);
  EXPECT_TRUE(info.channels == 1 || info.channels == 2);

  const DecodedWave wave = decodeWave(PIRUNE_GAME_MUSIC);
  EXPECT_EQ(wave.frames, info.frames);
  EXPECT_GE(wave.lengthMs(), 20000);
  EXPECT_LE(wave.lengthMs(), 40000);
  const auto channels = static_cast<std::size_t>(wave.channels);
  const auto rate = static_cast<std::size_t>(wave.sampleRate);
  const auto at = [&](std::size_t i) { return wave.samples.at(i) / 32768.0; };

  double peak = 0.0;
  double sum = 0.0;
  double squares = 0.0;
  double stepSquares = 0.0;
  double secondSquares = 0.0;
  for (std::size_t i = 0; i < wave.samples.size(); ++i) {
    peak = std::max(peak, std::abs(at(i)));
    sum += at(i);
    squares += at(i) * at(i);
    secondSquares += at(i) * at(i);
    if (i >= channels) {
      stepSquares += (at(i) - at(i - channels)) * (at(i) - at(i - channels));
    }
    // Never a gap: every whole second of the loop carries music.
    if ((i + 1) % (rate * channels) == 0) {
      EXPECT_GT(dbfs(secondSquares, static_cast<double>(rate * channels)), -40.0)
          << "second " << i / (rate * channels);
      secondSquares = 0.0;
    }
  }
  const auto count = static_cast<double>(wave.samples.size());
  EXPECT_LT(20.0 * std::log10(peak), -1.0);
  EXPECT_NEAR(dbfs(squares, count), -20.0, 3.0);
  EXPECT_LT(std::abs(sum / count), 1e-3) << "no offset from the middle line";

  // Played from silence or stopped at the end, it starts and ends near zero; looped, the step
  // from the last frame to the first is no bigger than a usual step inside the music.
  const double usualStep = std::sqrt(stepSquares / count);
  const std::size_t last = wave.samples.size() - channels;
  for (std::size_t c = 0; c < channels; ++c) {
    EXPECT_LT(std::abs(at(c)), 0.005) << "channel " << c;
    EXPECT_LT(std::abs(at(last + c)), 0.005) << "channel " << c;
    EXPECT_LT(std::abs(at(c) - at(last + c)), usualStep) << "channel " << c;
  }
}

}  // namespace
}  // namespace pirune::testing
