#include "wave_decoder.h"

#include <sndfile.h>

#include <algorithm>
#include <filesystem>
#include <memory>

namespace pirune {

namespace {

struct SndfileCloser {
  void operator()(SNDFILE* file) const { sf_close(file); }
};

// Beyond these a header describes no music a sound output can play; the bounds also keep the
// length in milliseconds far inside what the window's timers take.
constexpr int kMaxChannels = 8;
constexpr int kMinSampleRate = 1000;
constexpr int kMaxSampleRate = 768000;
constexpr sf_count_t kChunkFrames = 16384;

}  // namespace

std::int64_t DecodedWave::lengthMs() const {
  if (sampleRate <= 0) {
    return 0;
  }
  return frames * 1000 / sampleRate;
}

DecodedWave decodeWave(const std::string& path, std::size_t maxBytes) {
  SF_INFO info{};
  std::unique_ptr<SNDFILE, SndfileCloser> file(sf_open(path.c_str(), SFM_READ, &info));
  if (!file || info.samplerate < kMinSampleRate || info.samplerate > kMaxSampleRate ||
      info.channels <= 0 || info.channels > kMaxChannels) {
    return {};
  }

  DecodedWave wave;
  wave.sampleRate = info.samplerate;
  wave.channels = info.channels;
  const auto frameSamples = static_cast<std::size_t>(info.channels);
  const std::size_t maxFrames = maxBytes / (frameSamples * sizeof(std::int16_t));

  // The header's frame count is only a hint: read until the data really ends.
  std::vector<std::int16_t> chunk(static_cast<std::size_t>(kChunkFrames) * frameSamples);
  // Room for the whole music at once, as far as the header and the file's size make it
  // believable: growing step by step would copy it over and over, and hold it twice for a while.
  std::error_code sizeError;
  const auto fileBytes = std::filesystem::file_size(path, sizeError);
  if (info.frames > 0 && !sizeError) {
    wave.samples.reserve(std::min({static_cast<std::size_t>(info.frames), maxFrames,
                                   static_cast<std::size_t>(fileBytes) / frameSamples}) *
                         frameSamples);
  }
  std::size_t frames = 0;
  while (frames < maxFrames) {
    const auto wanted = static_cast<sf_count_t>(
        std::min<std::size_t>(static_cast<std::size_t>(kChunkFrames), maxFrames - frames));
    const sf_count_t got = sf_readf_short(file.get(), chunk.data(), wanted);
    if (got <= 0) {
      break;
    }
    wave.samples.insert(wave.samples.end(), chunk.begin(),
                        chunk.begin() + static_cast<std::ptrdiff_t>(got) *
                                            static_cast<std::ptrdiff_t>(frameSamples));
    frames += static_cast<std::size_t>(got);
  }
  wave.frames = static_cast<std::int64_t>(frames);
  if (wave.frames == 0) {
    return {};
  }
  return wave;
}

}  // namespace pirune
