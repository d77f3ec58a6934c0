#include "timer_driver.h"

#include <algorithm>
#include <limits>

#include "screen/timers.h"

namespace pirune::desktop {

TimerDriver::TimerDriver(const TimerScheduler& scheduler, QObject* window)
    : QTimer(window), scheduler_(scheduler) {
  setSingleShot(true);
  setTimerType(Qt::PreciseTimer);
}

void TimerDriver::rearm() {
  const auto due = scheduler_.nextDue();
  if (!due) {
    stop();
    return;
  }
  const std::int64_t wait =
      std::clamp<std::int64_t>(*due - scheduler_.now(), 0, std::numeric_limits<int>::max());
  start(static_cast<int>(wait));
}

}  // namespace pirune::desktop
