#pragma once
// The instruments, each written straight into the loop: a celesta for the melody and the
// twinkling stars, soft pads for the chords, and a quiet bass under them.

#include <vector>

#include "loop_buffer.h"

namespace pirune::music {

[[nodiscard]] double midiHz(int midi);

// A struck, bell-like tone; damped a little after its written length, like a celesta.
void addCelesta(LoopBuffer& out, double startSeconds, double lengthSeconds, int midi,
                float velocity);

// A chord that swells in, holds and fades out over the start of the next one.
void addPad(LoopBuffer& out, double startSeconds, double lengthSeconds,
            const std::vector<int>& midi);

void addBass(LoopBuffer& out, double startSeconds, double lengthSeconds, int midi);

}  // namespace pirune::music
