#include "wave_files.h"

#include <sndfile.h>
#include <unistd.h>

#include <atomic>
#include <cmath>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace pirune::testing {

ScratchFolder::ScratchFolder() {
  static std::atomic<int> counter{0};
  path = std::filesystem::temp_directory_path() /
         ("pirune-audio-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
  std::filesystem::remove_all(path);
  std::filesystem::create_directories(path);
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path, ignored);
}

std::vector<std::int16_t> quietTone(std::int64_t frames, int channels, double amplitude) {
  std::vector<std::int16_t> samples;
  samples.reserve(static_cast<std::size_t>(frames * channels));
  for (std::int64_t i = 0; i < frames; ++i) {
    for (int c = 0; c < channels; ++c) {
      const double x = static_cast<double>(i) * 0.0627 + c;
      samples.push_back(static_cast<std::int16_t>(std::lround(amplitude * std::sin(x))));
    }
  }
  return samples;
}

void writeWave(const std::string& path, int sampleRate, int channels,
               const std::vector<std::int16_t>& samples, int subtype) {
  SF_INFO info{};
  info.samplerate = sampleRate;
  info.channels = channels;
  info.format = SF_FORMAT_WAV | subtype;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (file == nullptr) {
    throw std::runtime_error("cannot write " + path + ": " + sf_strerror(nullptr));
  }
  const auto frames = static_cast<sf_count_t>(samples.size() / static_cast<std::size_t>(channels));
  const sf_count_t written = sf_writef_short(file, samples.data(), frames);
  sf_close(file);
  if (written != frames) {
    throw std::runtime_error("short write to " + path);
  }
}

std::string readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::size_t chunkOffset(const std::string& bytes, const char* id) {
  // Chunks follow the 12-byte RIFF header, each an id, a size and an even-padded body.
  std::size_t at = 12;
  while (at + 8 <= bytes.size()) {
    if (bytes.compare(at, 4, id) == 0) {
      return at;
    }
    const auto size = static_cast<std::size_t>(static_cast<unsigned char>(bytes[at + 4])) |
                      static_cast<std::size_t>(static_cast<unsigned char>(bytes[at + 5])) << 8 |
                      static_cast<std::size_t>(static_cast<unsigned char>(bytes[at + 6])) << 16 |
                      static_cast<std::size_t>(static_cast<unsigned char>(bytes[at + 7])) << 24;
    at += 8 + size + (size & 1);
  }
  return std::string::npos;
}

void putLittleEndian32(std::string& bytes, std::size_t offset, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) {
    bytes.at(offset + static_cast<std::size_t>(i)) = static_cast<char>((value >> (8 * i)) & 0xFF);
  }
}

}  // namespace pirune::testing
