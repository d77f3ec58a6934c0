#pragma once
// The tune: a slow lullaby in three-four for a night flight towards a star. Sixteen bars, a
// music-box melody on the major pentatonic of D over soft pads; the last bar rests on the
// dominant and breathes before the first bar comes round again.

#include <vector>

namespace pirune::music {

inline constexpr double kBeatsPerMinute = 96.0;
inline constexpr int kEighthsPerBar = 6;
inline constexpr int kBars = 16;

// Times and lengths are counted in eighth notes from the first downbeat.
struct Note {
  int start;
  int length;
  int midi;
  float velocity;
};

struct Chord {
  int start;
  int length;
  std::vector<int> midi;  // lowest first; the first is also the bass
};

const std::vector<Note>& melody();
const std::vector<Note>& twinkles();
const std::vector<Chord>& chords();

[[nodiscard]] double secondsPerEighth();
[[nodiscard]] double loopSeconds();

}  // namespace pirune::music
