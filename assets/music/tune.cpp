#include "tune.h"

#include <cmath>
#include <numbers>

namespace pirune::music {

namespace {

// The pitches the tune uses, as MIDI numbers.
constexpr int kFs5 = 78, kG5 = 79, kA5 = 81, kBb5 = 82, kB5 = 83, kCs6 = 85, kD6 = 86, kE6 = 88,
              kFs6 = 90, kA6 = 93, kD7 = 98, kE7 = 100, kFs7 = 102;

struct InBar {
  int bar;       // from 1
  int position;  // eighths into the bar
  int length;
  int midi;
};

// The downbeat sings out a little, the eighths in between are lighter.
float accent(int position) {
  switch (position) {
    case 0: return 0.92F;
    case 2:
    case 4: return 0.78F;
    default: return 0.66F;
  }
}

// The tune swells towards its middle, where it climbs highest, and settles again at the end.
float phrase(int start) {
  const double across = static_cast<double>(start) / (kBars * kEighthsPerBar);
  return static_cast<float>(0.86 + 0.14 * std::sin(std::numbers::pi * across));
}

std::vector<Note> placed(const std::vector<InBar>& notes, float scale) {
  std::vector<Note> out;
  out.reserve(notes.size());
  for (const InBar& n : notes) {
    const int start = (n.bar - 1) * kEighthsPerBar + n.position;
    out.push_back({start, n.length, n.midi, scale * accent(n.position) * phrase(start)});
  }
  return out;
}

}  // namespace

const std::vector<Note>& melody() {
  static const std::vector<Note> notes = placed(
      {
          // Rising towards the star...
          {1, 0, 2, kA5},
          {1, 2, 1, kFs5},
          {1, 3, 1, kA5},
          {1, 4, 2, kD6},
          {2, 0, 3, kCs6},
          {2, 3, 1, kB5},
          {2, 4, 2, kA5},
          {3, 0, 2, kB5},
          {3, 2, 1, kD6},
          {3, 3, 1, kB5},
          {3, 4, 2, kFs5},
          {4, 0, 6, kA5},
          {5, 0, 2, kB5},
          {5, 2, 1, kA5},
          {5, 3, 1, kB5},
          {5, 4, 2, kD6},
          {6, 0, 3, kE6},
          {6, 3, 1, kD6},
          {6, 4, 2, kB5},
          {7, 0, 2, kA5},
          {7, 2, 1, kD6},
          {7, 3, 1, kE6},
          {7, 4, 2, kA5},
          {8, 0, 2, kE6},
          {8, 2, 2, kCs6},
          {8, 4, 2, kA5},
          // ...higher, then a sigh over the minor chord...
          {9, 0, 2, kFs6},
          {9, 2, 1, kE6},
          {9, 3, 1, kD6},
          {9, 4, 2, kA5},
          {10, 0, 3, kB5},
          {10, 3, 1, kA5},
          {10, 4, 2, kFs5},
          {11, 0, 2, kB5},
          {11, 2, 1, kE6},
          {11, 3, 1, kD6},
          {11, 4, 2, kB5},
          {12, 0, 3, kD6},
          {12, 3, 1, kE6},
          {12, 4, 2, kB5},
          {13, 0, 2, kD6},
          {13, 2, 1, kBb5},
          {13, 3, 1, kA5},
          {13, 4, 2, kG5},
          {14, 0, 3, kA5},
          {14, 3, 1, kBb5},
          {14, 4, 2, kD6},
          // ...and the dominant, left open so that the first bar answers it.
          {15, 0, 2, kE6},
          {15, 2, 1, kD6},
          {15, 3, 1, kE6},
          {15, 4, 2, kA5},
          {16, 0, 2, kE6},
          {16, 2, 2, kCs6},
      },
      1.0F);
  return notes;
}

const std::vector<Note>& twinkles() {
  static const std::vector<Note> notes = placed(
      {
          {2, 5, 1, kA6},
          {4, 3, 1, kD7},
          {6, 5, 1, kFs7},
          {8, 5, 1, kE7},
          {10, 5, 1, kA6},
          {12, 3, 1, kFs7},
          {14, 5, 1, kD7},
      },
      0.32F);
  return notes;
}

const std::vector<Chord>& chords() {
  static const std::vector<Chord> all = {
      {0, 12, {50, 57, 61, 66}},   // D major seventh
      {12, 12, {47, 54, 57, 62}},  // B minor seventh
      {24, 12, {43, 50, 54, 59}},  // G major seventh
      {36, 6, {45, 52, 57, 62}},   // A with a suspended fourth
      {42, 6, {45, 52, 57, 61}},   // A
      {48, 12, {50, 57, 61, 66}},  // D major seventh
      {60, 12, {40, 55, 59, 62}},  // E minor seventh
      {72, 12, {43, 50, 58, 64}},  // G minor sixth
      {84, 6, {45, 52, 57, 62}},   // A with a suspended fourth
      {90, 6, {45, 52, 55, 61}},   // A seventh, leading home to D
  };
  return all;
}

double secondsPerEighth() { return 30.0 / kBeatsPerMinute; }

double loopSeconds() { return kBars * kEighthsPerBar * secondsPerEighth(); }

}  // namespace pirune::music
