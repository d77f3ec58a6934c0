#pragma once
// The window timers, with the rules of the desktop timers this game was made for:
// - an interval of 0 never ticks;
// - enabling a disabled timer, or changing the interval of an enabled one, starts a full
//   interval afresh;
// - nothing ticks faster than once per kMinimumPeriodMs, one 60 Hz display frame rounded up,
//   so the 1 ms background timer runs at about 60 ticks a second and each of its ticks can be
//   painted at once, in the same wake-up;
// - a late tick is delivered once, not caught up;
// - while a modal box is open, the timers marked as held deliver no ticks and start a full
//   interval when the last box closes: a tick can never end a flight behind the player's back.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace pirune {

class TimerScheduler;

class Timer {
 public:
  Timer(TimerScheduler& scheduler, std::string name, int interval, bool enabled,
        bool heldDuringModal);
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;
  Timer(Timer&&) = delete;
  Timer& operator=(Timer&&) = delete;
  ~Timer() = default;

  [[nodiscard]] bool Enabled() const { return enabled_; }
  [[nodiscard]] int Interval() const { return interval_; }
  [[nodiscard]] const std::string& name() const { return name_; }
  void setEnabled(bool enabled);
  void setInterval(int milliseconds);

  // The tick procedure of the timer.
  std::function<void()> onTick;

 private:
  friend class TimerScheduler;
  void arm();

  TimerScheduler& scheduler_;
  std::string name_;
  int interval_;
  bool enabled_;
  bool heldDuringModal_;
  std::optional<std::int64_t> due_;
};

class TimerScheduler {
 public:
  static constexpr int kMinimumPeriodMs = 17;

  explicit TimerScheduler(std::function<std::int64_t()> clock);

  // When the next tick falls due, in the clock's milliseconds; none while no timer can tick.
  [[nodiscard]] std::optional<std::int64_t> nextDue() const;
  // Delivers one tick to every timer that is due now, in the order the timers were made. With a
  // lead, also to those due within it: a shell that ticks at its display frames takes a tick that
  // would fall just after a frame at that frame, so it is painted at once.
  void fireDue(std::int64_t leadMs = 0);

  // While a box is open: held timers deliver nothing, and start afresh when the last box closes.
  void beginModal() { ++modalDepth_; }
  void endModal();
  [[nodiscard]] bool modalOpen() const { return modalDepth_ > 0; }

  [[nodiscard]] std::int64_t now() const { return clock_(); }

 private:
  friend class Timer;
  void add(Timer& timer) { timers_.push_back(&timer); }
  [[nodiscard]] bool mayTick(const Timer& timer) const;

  std::function<std::int64_t()> clock_;
  std::vector<Timer*> timers_;
  int modalDepth_ = 0;
};

// A box open for as long as it lives: the held timers wait, and start afresh when it ends.
class ModalScope {
 public:
  explicit ModalScope(TimerScheduler& timers) : timers_(timers) { timers_.beginModal(); }
  ModalScope(const ModalScope&) = delete;
  ModalScope& operator=(const ModalScope&) = delete;
  ModalScope(ModalScope&&) = delete;
  ModalScope& operator=(ModalScope&&) = delete;
  ~ModalScope() { timers_.endModal(); }

 private:
  TimerScheduler& timers_;
};

}  // namespace pirune
