#include "mastering.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace pirune::music {

namespace {

double toDb(double amplitude) { return 20.0 * std::log10(std::max(amplitude, 1e-12)); }

// A fixed-seed xorshift: the same file on every build and every machine.
class Dither {
 public:
  double next() { return uniform() - uniform(); }

 private:
  double uniform() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 7;
    state_ ^= state_ << 17;
    return static_cast<double>(state_ >> 11) * 0x1.0p-53;
  }
  std::uint64_t state_ = 0x9E3779B97F4A7C15ULL;
};

}  // namespace

void setLevel(LoopBuffer& loop, double rmsDbfs) {
  double sum = 0.0;
  for (std::size_t i = 0; i < loop.frames(); ++i) {
    sum += double{loop.left[i]} * loop.left[i] + double{loop.right[i]} * loop.right[i];
  }
  const double rms = std::sqrt(sum / (2.0 * static_cast<double>(loop.frames())));
  if (rms <= 0.0) {
    return;
  }
  const auto gain = static_cast<float>(std::pow(10.0, rmsDbfs / 20.0) / rms);
  for (std::size_t i = 0; i < loop.frames(); ++i) {
    loop.left[i] *= gain;
    loop.right[i] *= gain;
  }
}

double peakDbfs(const LoopBuffer& loop) {
  float peak = 0.0F;
  for (std::size_t i = 0; i < loop.frames(); ++i) {
    peak = std::max({peak, std::abs(loop.left[i]), std::abs(loop.right[i])});
  }
  return toDb(peak);
}

std::size_t quietestStart(const LoopBuffer& loop, std::size_t searchFrames) {
  const std::size_t n = loop.frames();
  auto loudness = [&](std::size_t frame) {
    const std::size_t before = (frame + n - 1) % n;
    return std::max({std::abs(loop.left[frame]), std::abs(loop.right[frame]),
                     std::abs(loop.left[before]), std::abs(loop.right[before])});
  };
  // Only before the downbeat, so that the first note is not cut.
  std::size_t best = 0;
  float bestLoudness = std::numeric_limits<float>::max();
  for (std::size_t back = 0; back <= searchFrames; ++back) {
    const std::size_t frame = (n - back) % n;
    const float l = loudness(frame);
    if (l < bestLoudness) {
      bestLoudness = l;
      best = frame;
    }
  }
  return best;
}

std::vector<std::int16_t> toPcm16(const LoopBuffer& loop, std::size_t start) {
  const std::size_t n = loop.frames();
  std::vector<std::int16_t> pcm;
  pcm.reserve(2 * n);
  Dither dither;
  auto quantise = [&](float x) {
    const double v = std::round(double{x} * 32767.0 + dither.next());
    return static_cast<std::int16_t>(std::clamp(v, -32768.0, 32767.0));
  };
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t frame = (start + i) % n;
    pcm.push_back(quantise(loop.left[frame]));
    pcm.push_back(quantise(loop.right[frame]));
  }
  return pcm;
}

}  // namespace pirune::music
