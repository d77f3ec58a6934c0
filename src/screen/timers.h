#pragma once
// The window timers, with the rules of the desktop timers this game was made for:
// - an interval of 0 never ticks;
// - enabling a disabled timer, or changing the interval of an enabled one, starts a full
//   interval afresh;
// - nothing ticks faster than once per kMinimumPeriodMs, one 60 Hz display frame rounded up,
//   so the 1 ms background timer runs at about 60 ticks a second and each of its ticks can be
//   painted at once, in the same wake-up;
// - every tick comes at its own due time on the game's clock, in the order the ticks fall due,
//   whenever the shell wakes to deliver it: the same events reach the game in the same order on
//   every screen, so a flight can be flown again exactly (the session pauses the game's clock
//   over a stalled wake-up, so a late tick still comes once rather than caught up);
// - while a modal box is open, the timers marked as held deliver no ticks and start a full
//   interval when the last box closes: a tick can never end a flight behind the player's back.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
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
  // The next tick at `due` on the game's clock, as a flight record found this timer running.
  void setDue(std::int64_t due) {
    if (enabled_ && interval_ > 0) {
      due_ = due;
    }
  }
  [[nodiscard]] std::optional<std::int64_t> due() const { return due_; }

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

  // `clock`: the game's time, read as it starts and when a box closes (a box's procedure waits
  // for the player, and the held timers start afresh from that moment).
  explicit TimerScheduler(std::function<std::int64_t()> clock);

  // When the next tick falls due, in the game's milliseconds; none while no timer can tick.
  [[nodiscard]] std::optional<std::int64_t> nextDue() const;
  // The game's time moves on to `time`: every tick due by then comes, each at its own due time,
  // earliest first (timers due together in the order they were made). With a lead, those due
  // within it come too: a shell that wakes at its display frames takes a tick that would fall
  // just after a frame at that frame, so it is painted at once. The time never goes back.
  void advance(std::int64_t time, std::int64_t leadMs = 0);
  // How many ticks have come so far: a re-flight counts them against its bound.
  [[nodiscard]] std::uint64_t ticksDelivered() const { return ticks_; }

  // While a box is open: held timers deliver nothing, and start afresh when the last box closes.
  void beginModal();
  void endModal();
  [[nodiscard]] bool modalOpen() const { return modalDepth_ > 0; }
  // Told when the first box opens (true) and the last one closes (false), at the game's time.
  std::function<void(bool open)> onModal;

  [[nodiscard]] std::int64_t now() const { return now_; }
  void setClock(std::function<std::int64_t()> clock) { clock_ = std::move(clock); }

 private:
  friend class Timer;
  void add(Timer& timer) { timers_.push_back(&timer); }
  [[nodiscard]] bool mayTick(const Timer& timer) const;

  // The earliest timer that may tick, due by `limit`; the first made among equals.
  [[nodiscard]] Timer* earliestDue(std::int64_t limit) const;

  std::function<std::int64_t()> clock_;
  std::int64_t now_;
  std::vector<Timer*> timers_;
  int modalDepth_ = 0;
  std::uint64_t ticks_ = 0;
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
