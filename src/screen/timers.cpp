#include "screen/timers.h"

#include <algorithm>
#include <utility>

namespace pirune {

Timer::Timer(TimerScheduler& scheduler, std::string name, int interval, bool enabled,
             bool heldDuringModal)
    : scheduler_(scheduler),
      name_(std::move(name)),
      interval_(interval),
      enabled_(enabled),
      heldDuringModal_(heldDuringModal) {
  scheduler_.add(*this);
  arm();
}

void Timer::arm() {
  if (enabled_ && interval_ > 0) {
    due_ = scheduler_.now() + std::max(interval_, TimerScheduler::kMinimumPeriodMs);
  } else {
    due_.reset();
  }
}

void Timer::setEnabled(bool enabled) {
  if (enabled == enabled_) {
    return;
  }
  enabled_ = enabled;
  arm();
}

void Timer::setInterval(int milliseconds) {
  if (milliseconds == interval_) {
    return;
  }
  interval_ = milliseconds;
  arm();
}

TimerScheduler::TimerScheduler(std::function<std::int64_t()> clock) : clock_(std::move(clock)) {}

bool TimerScheduler::mayTick(const Timer& timer) const {
  return timer.due_.has_value() && !(timer.heldDuringModal_ && modalOpen());
}

std::optional<std::int64_t> TimerScheduler::nextDue() const {
  std::optional<std::int64_t> next;
  for (const Timer* timer : timers_) {
    if (mayTick(*timer) && (!next || *timer->due_ < *next)) {
      next = timer->due_;
    }
  }
  return next;
}

void TimerScheduler::fireDue(std::int64_t leadMs) {
  const std::int64_t time = now();
  for (Timer* timer : timers_) {
    // Asked again for each timer: an earlier tick may have stopped or restarted this one.
    if (!mayTick(*timer) || *timer->due_ > time + leadMs) {
      continue;
    }
    timer->due_ = time + std::max(timer->interval_, kMinimumPeriodMs);
    if (timer->onTick) {
      timer->onTick();
    }
  }
}

void TimerScheduler::endModal() {
  if (modalDepth_ == 0) {
    return;
  }
  if (--modalDepth_ == 0) {
    for (Timer* timer : timers_) {
      if (timer->heldDuringModal_) {
        timer->arm();
      }
    }
  }
}

}  // namespace pirune
