#pragma once
// Echo and reverb that treat the loop as a circle: each runs over the loop twice and keeps the
// second pass, so the tails of the last bar already ring into the first one.

#include "loop_buffer.h"

namespace pirune::music {

// Repeats bounce between left and right, darker each time.
[[nodiscard]] LoopBuffer pingPongEcho(const LoopBuffer& in, double delaySeconds, float feedback);

// A small hall: parallel damped combs and two all-pass diffusers for each side.
[[nodiscard]] LoopBuffer reverb(const LoopBuffer& in);

}  // namespace pirune::music
