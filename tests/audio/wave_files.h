#pragma once
// Wave files the audio tests write for themselves, good ones and broken ones.

#include <sndfile.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace pirune::testing {

// A folder of its own for one test, removed afterwards.
class ScratchFolder {
 public:
  ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  ScratchFolder(ScratchFolder&&) = delete;
  ScratchFolder& operator=(ScratchFolder&&) = delete;
  ~ScratchFolder();

  [[nodiscard]] std::string file(const std::string& name) const { return (path / name).string(); }

  std::filesystem::path path;
};

// A quiet sine: sample i of channel c is round(amplitude * sin(i * step + c)).
std::vector<std::int16_t> quietTone(std::int64_t frames, int channels, double amplitude = 300.0);

// Writes through libsndfile, 16-bit PCM unless another subtype is asked for.
void writeWave(const std::string& path, int sampleRate, int channels,
               const std::vector<std::int16_t>& samples, int subtype = SF_FORMAT_PCM_16);

std::string readBytes(const std::string& path);
void writeBytes(const std::string& path, const std::string& bytes);

// Offset of a chunk's four-letter id in a RIFF file, or npos.
std::size_t chunkOffset(const std::string& bytes, const char* id);
void putLittleEndian32(std::string& bytes, std::size_t offset, std::uint32_t value);

}  // namespace pirune::testing
