#include "effects.h"

#include <array>
#include <cmath>
#include <vector>

namespace pirune::music {

namespace {

class Delay {
 public:
  explicit Delay(std::size_t frames) : line_(frames) {}
  [[nodiscard]] float out() const { return line_[at_]; }
  void push(float value) {
    line_[at_] = value;
    at_ = (at_ + 1) % line_.size();
  }

 private:
  std::vector<float> line_;
  std::size_t at_ = 0;
};

class OnePoleLowPass {
 public:
  explicit OnePoleLowPass(float keep) : keep_(keep) {}
  float operator()(float x) {
    state_ = keep_ * state_ + (1.0F - keep_) * x;
    return state_;
  }

 private:
  float keep_;
  float state_ = 0.0F;
};

class Comb {
 public:
  Comb(std::size_t frames, float feedback, float damping)
      : delay_(frames), feedback_(feedback), damping_(damping) {}
  float operator()(float x) {
    const float y = delay_.out();
    delay_.push(x + feedback_ * damping_(y));
    return y;
  }

 private:
  Delay delay_;
  float feedback_;
  OnePoleLowPass damping_;
};

class AllPass {
 public:
  AllPass(std::size_t frames, float gain) : delay_(frames), gain_(gain) {}
  float operator()(float x) {
    const float delayed = delay_.out();
    const float fed = x + gain_ * delayed;
    delay_.push(fed);
    return delayed - gain_ * fed;
  }

 private:
  Delay delay_;
  float gain_;
};

class ReverbSide {
 public:
  // The two sides differ by a few samples in every delay, which makes the hall wide.
  explicit ReverbSide(std::size_t spread)
      : combs_{Comb{1311 + spread, kFeedback, kDamping}, Comb{1637 + spread, kFeedback, kDamping},
               Comb{1813 + spread, kFeedback, kDamping}, Comb{1927 + spread, kFeedback, kDamping}},
        diffusers_{AllPass{225 + spread, 0.5F}, AllPass{556 + spread, 0.5F}} {}

  float operator()(float x) {
    float sum = 0.0F;
    for (Comb& comb : combs_) {
      sum += comb(x);
    }
    for (AllPass& diffuser : diffusers_) {
      sum = diffuser(sum);
    }
    return 0.25F * sum;
  }

 private:
  // About two and a half seconds of tail.
  static constexpr float kFeedback = 0.89F;
  static constexpr float kDamping = 0.3F;
  std::array<Comb, 4> combs_;
  std::array<AllPass, 2> diffusers_;
};

std::size_t framesOf(double seconds) {
  return static_cast<std::size_t>(std::lround(seconds * kSampleRate));
}

}  // namespace

LoopBuffer pingPongEcho(const LoopBuffer& in, double delaySeconds, float feedback) {
  const std::size_t n = in.frames();
  LoopBuffer out(n);
  Delay toLeft(framesOf(delaySeconds));
  Delay toRight(framesOf(delaySeconds));
  OnePoleLowPass darkenLeft(0.55F);
  OnePoleLowPass darkenRight(0.55F);
  for (std::size_t pass = 0; pass < 2; ++pass) {
    for (std::size_t i = 0; i < n; ++i) {
      const float l = toLeft.out();
      const float r = toRight.out();
      const float mono = 0.5F * (in.left[i] + in.right[i]);
      toLeft.push(mono + feedback * darkenRight(r));
      toRight.push(feedback * darkenLeft(l));
      if (pass == 1) {
        out.left[i] = l;
        out.right[i] = r;
      }
    }
  }
  return out;
}

LoopBuffer reverb(const LoopBuffer& in) {
  const std::size_t n = in.frames();
  LoopBuffer out(n);
  ReverbSide left(0);
  ReverbSide right(23);
  for (std::size_t pass = 0; pass < 2; ++pass) {
    for (std::size_t i = 0; i < n; ++i) {
      const float mono = 0.5F * (in.left[i] + in.right[i]);
      const float l = left(mono);
      const float r = right(mono);
      if (pass == 1) {
        out.left[i] = l;
        out.right[i] = r;
      }
    }
  }
  return out;
}

}  // namespace pirune::music
