#include "voices.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace pirune::music {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

std::size_t frameAt(double seconds) {
  return static_cast<std::size_t>(std::llround(seconds * kSampleRate));
}

// 0 to 1 along half a cosine: a swell with no corner at either end.
double smoothStep(double x) {
  const double t = std::clamp(x, 0.0, 1.0);
  return 0.5 - 0.5 * std::cos(std::numbers::pi * t);
}

struct Partial {
  double ratio;
  double amplitude;
  double decayShare;  // of the fundamental's decay time
};

}  // namespace

double midiHz(int midi) { return 440.0 * std::pow(2.0, (midi - 69) / 12.0); }

void addCelesta(LoopBuffer& out, double startSeconds, double lengthSeconds, int midi,
                float velocity) {
  // The low strike partial gives the metal its ping and is gone within a tenth of a second.
  static constexpr Partial kPartials[] = {
      {1.0, 1.0, 1.0}, {2.0, 0.26, 0.4}, {3.0, 0.07, 0.25}, {5.43, 0.05, 0.04}};
  const double hz = midiHz(midi);
  const double decay = 2.2 * std::sqrt(440.0 / hz);
  const double dampAt = lengthSeconds + 0.12;
  constexpr double kDamp = 0.28;
  constexpr double kAttack = 0.003;
  // Until the damped tone has fallen below -100 dB.
  const double ring = dampAt + kDamp * std::log(1e5);
  // High notes sit to the right, low ones in the middle; the first echo answers from the left.
  const double pan = std::clamp((midi - 79) / 40.0, -0.3, 0.3);
  const double gainL = std::cos((0.5 + pan) * std::numbers::pi / 2);
  const double gainR = std::sin((0.5 + pan) * std::numbers::pi / 2);

  const std::size_t first = frameAt(startSeconds);
  const std::size_t count = frameAt(ring);
  for (std::size_t i = 0; i < count; ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    double damping = 1.0;
    if (t > dampAt) {
      damping = std::exp(-(t - dampAt) / kDamp);
    }
    double sample = 0.0;
    for (const Partial& p : kPartials) {
      const double f = hz * p.ratio;
      if (f > 16000.0) {
        continue;
      }
      sample += p.amplitude * std::exp(-t / (decay * p.decayShare)) * std::sin(kTwoPi * f * t);
    }
    const double v = velocity * smoothStep(t / kAttack) * damping * sample;
    out.add(first + i, static_cast<float>(v * gainL), static_cast<float>(v * gainR));
  }
}

void addPad(LoopBuffer& out, double startSeconds, double lengthSeconds,
            const std::vector<int>& midi) {
  constexpr double kAttack = 1.4;
  constexpr double kRelease = 1.6;
  constexpr double kToneGain = 0.045;
  // Three voices a few cents apart, spread across the stereo field, make the pad shimmer.
  static constexpr double kCents[] = {-6.0, 0.0, 6.0};
  static constexpr double kLeft[] = {0.85, 0.6, 0.3};
  static constexpr double kRight[] = {0.3, 0.6, 0.85};

  const std::size_t first = frameAt(startSeconds);
  const std::size_t count = frameAt(lengthSeconds + kRelease);
  const double loop = static_cast<double>(out.frames()) / kSampleRate;
  for (std::size_t tone = 0; tone < midi.size(); ++tone) {
    const double hz = midiHz(midi[tone]);
    // The upper tones of the chord a little softer, so that the pad stays warm.
    const double toneGain = kToneGain * (1.0 - 0.12 * static_cast<double>(tone));
    for (std::size_t voice = 0; voice < 3; ++voice) {
      const double f = hz * std::pow(2.0, kCents[voice] / 1200.0);
      const double phase = 0.7 * static_cast<double>(voice + tone);
      for (std::size_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double envelope =
            smoothStep(t / kAttack) * (1.0 - smoothStep((t - lengthSeconds) / kRelease));
        // A slow breath that fits the loop a whole number of times.
        const double breath =
            1.0 + 0.12 * std::sin(kTwoPi * 4.0 * (startSeconds + t) / loop + phase);
        const double x = kTwoPi * f * t + phase;
        const double wave = std::sin(x) + 0.10 * std::sin(2.0 * x) + 0.03 * std::sin(3.0 * x);
        const double v = toneGain * envelope * breath * wave;
        out.add(first + i, static_cast<float>(v * kLeft[voice]),
                static_cast<float>(v * kRight[voice]));
      }
    }
  }
}

void addBass(LoopBuffer& out, double startSeconds, double lengthSeconds, int midi) {
  constexpr double kGain = 0.10;
  constexpr double kAttack = 0.04;
  constexpr double kRelease = 0.9;
  const double hz = midiHz(midi);
  const std::size_t first = frameAt(startSeconds);
  const std::size_t count = frameAt(lengthSeconds + kRelease);
  for (std::size_t i = 0; i < count; ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    const double envelope = smoothStep(t / kAttack) * std::exp(-t / 3.0) *
                            (1.0 - smoothStep((t - lengthSeconds) / kRelease));
    const double x = kTwoPi * hz * t;
    const double v = kGain * envelope * (std::sin(x) + 0.15 * std::sin(2.0 * x));
    out.add(first + i, static_cast<float>(v), static_cast<float>(v));
  }
}

}  // namespace pirune::music
