#pragma once
// From the mixed loop to the samples of the file: the level, the point where the file starts,
// and the 16-bit samples.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "loop_buffer.h"

namespace pirune::music {

// Scales the loop to the given RMS level in dBFS (over both sides).
void setLevel(LoopBuffer& loop, double rmsDbfs);

[[nodiscard]] double peakDbfs(const LoopBuffer& loop);

// The frame near the downbeat where both sides are closest to silence, so that playing from
// the beginning, or stopping at the end, starts or ends without a click.
[[nodiscard]] std::size_t quietestStart(const LoopBuffer& loop, std::size_t searchFrames);

// Interleaved 16-bit samples from the given start frame round the circle, with a light
// triangular dither that repeats identically on every build.
[[nodiscard]] std::vector<std::int16_t> toPcm16(const LoopBuffer& loop, std::size_t start);

}  // namespace pirune::music
