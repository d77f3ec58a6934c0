#pragma once
// A stereo buffer that is a circle: whatever rings past the end sounds again at the beginning,
// exactly as it will when the game restarts the music, so the loop joins without a seam.

#include <cstddef>
#include <vector>

namespace pirune::music {

inline constexpr int kSampleRate = 44100;

struct LoopBuffer {
  explicit LoopBuffer(std::size_t frameCount) : left(frameCount), right(frameCount) {}

  [[nodiscard]] std::size_t frames() const { return left.size(); }
  void add(std::size_t frame, float l, float r) {
    const std::size_t at = frame % left.size();
    left[at] += l;
    right[at] += r;
  }
  void mix(const LoopBuffer& other, float gain) {
    for (std::size_t i = 0; i < frames(); ++i) {
      left[i] += gain * other.left[i];
      right[i] += gain * other.right[i];
    }
  }

  std::vector<float> left;
  std::vector<float> right;
};

}  // namespace pirune::music
