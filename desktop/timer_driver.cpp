#include "timer_driver.h"

#include <algorithm>
#include <limits>

namespace pirune::desktop {

TimerDriver::TimerDriver(QObject* window) : QTimer(window) {
  setSingleShot(true);
  setTimerType(Qt::PreciseTimer);
}

void TimerDriver::arm(std::optional<std::int64_t> delayMs) {
  if (!delayMs) {
    stop();
    return;
  }
  start(static_cast<int>(std::clamp<std::int64_t>(*delayMs, 0, std::numeric_limits<int>::max())));
}

}  // namespace pirune::desktop
