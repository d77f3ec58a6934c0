#pragma once
// Reads the whole music file into memory as 16-bit samples, so that playing never waits on the
// disk. A file that cannot be read gives no frames.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace pirune {

struct DecodedWave {
  int sampleRate = 0;
  int channels = 0;
  std::int64_t frames = 0;
  std::vector<std::int16_t> samples;  // interleaved, frames × channels

  [[nodiscard]] bool empty() const { return frames == 0; }
  // Whole milliseconds of music, rounded down.
  [[nodiscard]] std::int64_t lengthMs() const;
};

inline constexpr std::size_t kMaxDecodedBytes = std::size_t{256} << 20;

// Decodes what can really be read: a header that promises more frames than the file holds
// yields only the frames that are there. Music beyond maxBytes of samples is left out.
DecodedWave decodeWave(const std::string& path, std::size_t maxBytes = kMaxDecodedBytes);

}  // namespace pirune
