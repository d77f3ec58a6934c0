#pragma once
// Wave files the audio tests write for themselves, good ones and broken ones.

#include <sndfile.h>

#include <QTemporaryDir>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace pirune::testing {

// A folder of its own for one test, removed afterwards.
struct ScratchFolder : QTemporaryDir {
  [[nodiscard]] std::string file(const char* name) const { return filePath(name).toStdString(); }
};

// A quiet sine: sample i of channel c is round(amplitude * sin(i * step + c)).
inline std::vector<std::int16_t> quietTone(std::int64_t frames, int channels,
                                           double amplitude = 300.0) {
  std::vector<std::int16_t> samples;
  for (std::int64_t i = 0; i < frames; ++i) {
    for (int c = 0; c < channels; ++c) {
      samples.push_back(
          static_cast<std::int16_t>(std::lround(amplitude * std::sin(i * 0.0627 + c))));
    }
  }
  return samples;
}

// Writes through libsndfile, 16-bit PCM unless another subtype is asked for.
inline void writeWave(const std::string& path, int sampleRate, int channels,
                      const std::vector<std::int16_t>& samples, int subtype = SF_FORMAT_PCM_16) {
  SF_INFO info{0, sampleRate, channels, SF_FORMAT_WAV | subtype, 0, 0};
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  sf_writef_short(file, samples.data(), static_cast<sf_count_t>(samples.size()) / channels);
  sf_close(file);
}

inline std::string readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

inline void putLittleEndian32(std::string& bytes, std::size_t offset, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i) {
    bytes.at(offset + i) = static_cast<char>((value >> (8 * i)) & 0xFF);
  }
}

}  // namespace pirune::testing
