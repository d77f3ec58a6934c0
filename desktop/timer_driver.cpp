#include "timer_driver.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "error_boundary.h"
#include "screen/timers.h"

namespace pirune::desktop {

TimerDriver::TimerDriver(TimerScheduler& scheduler, std::function<std::int64_t()> clock,
                         ErrorBoundary& boundary)
    : scheduler_(scheduler), clock_(std::move(clock)), boundary_(boundary) {
  timer_.setSingleShot(true);
  timer_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { fire(); });
  scheduler_.onScheduleChanged = [this] { rearm(); };
  rearm();
}

TimerDriver::~TimerDriver() { scheduler_.onScheduleChanged = nullptr; }

void TimerDriver::stop() {
  stopped_ = true;
  timer_.stop();
}

void TimerDriver::rearm() {
  if (stopped_) {
    return;
  }
  const auto due = scheduler_.nextDue();
  if (!due) {
    timer_.stop();
    return;
  }
  const std::int64_t wait =
      std::clamp<std::int64_t>(*due - clock_(), 0, std::numeric_limits<int>::max());
  timer_.start(static_cast<int>(wait));
}

void TimerDriver::fire() {
  if (stopped_) {
    return;
  }
  boundary_.run([this] { scheduler_.fireDue(); });
  rearm();
}

}  // namespace pirune::desktop
