#pragma once
// Drives the game's window timers with one system timer, always set for the next tick that falls
// due. The rules of the timers themselves (16 ms floor, fresh intervals, held during boxes) are
// the game's; this only wakes it up in time.

#include <QTimer>
#include <cstdint>
#include <functional>

namespace pirune {
class TimerScheduler;
}

namespace pirune::desktop {

class ErrorBoundary;

class TimerDriver {
 public:
  TimerDriver(TimerScheduler& scheduler, std::function<std::int64_t()> clock,
              ErrorBoundary& boundary);
  TimerDriver(const TimerDriver&) = delete;
  TimerDriver& operator=(const TimerDriver&) = delete;
  TimerDriver(TimerDriver&&) = delete;
  TimerDriver& operator=(TimerDriver&&) = delete;
  ~TimerDriver();

  // For good: after a run-time error nothing ticks any more.
  void stop();
  [[nodiscard]] bool armed() const { return timer_.isActive(); }

 private:
  void rearm();
  void fire();

  TimerScheduler& scheduler_;
  std::function<std::int64_t()> clock_;
  ErrorBoundary& boundary_;
  QTimer timer_;
  bool stopped_ = false;
};

}  // namespace pirune::desktop
