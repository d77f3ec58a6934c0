// The game's own music as the build leaves it in the game's folder: the right kind of file,
// comfortable levels, no gap, and an end that joins its beginning without a click.

#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

#include "wave_decoder.h"

namespace pirune::testing {
namespace {

double dbfs(double amplitude) { return 20.0 * std::log10(std::max(amplitude, 1e-12)); }

struct Closer {
  void operator()(SNDFILE* file) const { sf_close(file); }
};

TEST(GameMusic, IsAThirtySecondish16BitWave) {
  SF_INFO info{};
  const std::unique_ptr<SNDFILE, Closer> file(sf_open(PIRUNE_GAME_MUSIC, SFM_READ, &info));
  ASSERT_TRUE(file) << PIRUNE_GAME_MUSIC << ": " << sf_strerror(nullptr);
  EXPECT_EQ(info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
  EXPECT_TRUE(info.samplerate == 44100 || info.samplerate == 22050);
  EXPECT_TRUE(info.channels == 1 || info.channels == 2);

  const DecodedWave wave = decodeWave(PIRUNE_GAME_MUSIC);
  EXPECT_EQ(wave.frames, info.frames);
  EXPECT_GE(wave.lengthMs(), 20000);
  EXPECT_LE(wave.lengthMs(), 40000);
}

TEST(GameMusic, LevelsAreGentleAndTheLoopJoinsWithoutAClick) {
  const DecodedWave wave = decodeWave(PIRUNE_GAME_MUSIC);
  ASSERT_FALSE(wave.empty());
  const auto channels = static_cast<std::size_t>(wave.channels);
  const auto frames = static_cast<std::size_t>(wave.frames);
  auto at = [&](std::size_t frame, std::size_t channel) {
    return wave.samples[frame * channels + channel] / 32768.0;
  };

  double peak = 0.0;
  double sum = 0.0;
  double squares = 0.0;
  double stepSquares = 0.0;
  for (std::size_t i = 0; i < frames; ++i) {
    for (std::size_t c = 0; c < channels; ++c) {
      const double x = at(i, c);
      peak = std::max(peak, std::abs(x));
      sum += x;
      squares += x * x;
      if (i > 0) {
        stepSquares += (x - at(i - 1, c)) * (x - at(i - 1, c));
      }
    }
  }
  const double count = static_cast<double>(frames * channels);
  EXPECT_LT(dbfs(peak), -1.0);
  EXPECT_NEAR(dbfs(std::sqrt(squares / count)), -20.0, 3.0);
  EXPECT_LT(std::abs(sum / count), 1e-3) << "no offset from the middle line";

  // Never a gap: every second of the loop carries music.
  for (std::size_t second = 0; second + 1 <= frames / static_cast<std::size_t>(wave.sampleRate);
       ++second) {
    double windowSquares = 0.0;
    const auto rate = static_cast<std::size_t>(wave.sampleRate);
    for (std::size_t i = second * rate; i < (second + 1) * rate; ++i) {
      for (std::size_t c = 0; c < channels; ++c) {
        windowSquares += at(i, c) * at(i, c);
      }
    }
    EXPECT_GT(dbfs(std::sqrt(windowSquares / static_cast<double>(rate * channels))), -40.0)
        << "second " << second;
  }

  // Played from silence or stopped at the end, it starts and ends near zero; looped, the step
  // from the last frame to the first is no bigger than a usual step inside the music.
  const double usualStep = std::sqrt(stepSquares / count);
  for (std::size_t c = 0; c < channels; ++c) {
    EXPECT_LT(std::abs(at(0, c)), 0.005) << "channel " << c;
    EXPECT_LT(std::abs(at(frames - 1, c)), 0.005) << "channel " << c;
    EXPECT_LT(std::abs(at(0, c) - at(frames - 1, c)), usualStep) << "channel " << c;
  }
}

}  // namespace
}  // namespace pirune::testing
