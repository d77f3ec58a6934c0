#pragma once
// Wakes the game up when the next tick of its window timers falls due: one page timer, always
// set for the next tick. The rules of the timers themselves (a frame's floor, fresh intervals,
// held during boxes) are the game's.

namespace pirune {
class TimerScheduler;
}

namespace pirune::web {

class TimerDriver {
 public:
  explicit TimerDriver(const TimerScheduler& scheduler) : scheduler_(scheduler) {}

  // Set for the next tick, or stopped when no timer can tick; any call into the game may have
  // started, stopped or changed a timer.
  void rearm();

 private:
  const TimerScheduler& scheduler_;
};

}  // namespace pirune::web
