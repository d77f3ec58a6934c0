#include "screen/timers.h"

#include <algorithm>
#include <limits>
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
    due_ = scheduler_.now_ + std::max(interval_, TimerScheduler::kMinimumPeriodMs);
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

TimerScheduler::TimerScheduler(std::function<std::int64_t()> clock)
    : clock_(std::move(clock)), now_(clock_()) {}

bool TimerScheduler::mayTick(const Timer& timer) const {
  return timer.due_.has_value() && !(timer.heldDuringModal_ && modalOpen());
}

std::optional<std::int64_t> TimerScheduler::nextDue() const {
  const Timer* next = earliestDue(std::numeric_limits<std::int64_t>::max());
  return next != nullptr ? next->due_ : std::nullopt;
}

Timer* TimerScheduler::earliestDue(std::int64_t limit) const {
  Timer* next = nullptr;
  for (Timer* timer : timers_) {
    if (mayTick(*timer) && *timer->due_ <= limit &&
        (next == nullptr || *timer->due_ < *next->due_)) {
      next = timer;
    }
  }
  return next;
}

void TimerScheduler::advance(std::int64_t time, std::int64_t leadMs) {
  // Asked afresh after each tick: a tick may stop, restart or re-time any timer.
  while (Timer* timer = earliestDue(time + leadMs)) {
    now_ = std::max(now_, *timer->due_);
    timer->due_ = now_ + std::max(timer->interval_, kMinimumPeriodMs);
    ++ticks_;
    if (timer->onTick) {
      timer->onTick();
    }
  }
  now_ = std::max(now_, time);
}

void TimerScheduler::beginModal() {
  if (modalDepth_++ == 0 && onModal) {
    onModal(true);
  }
}

void TimerScheduler::endModal() {
  if (modalDepth_ == 0) {
    return;
  }
  if (--modalDepth_ == 0) {
    now_ = std::max(now_, clock_());
    if (onModal) {
      onModal(false);
    }
    for (Timer* timer : timers_) {
      if (timer->heldDuringModal_) {
        timer->arm();
      }
    }
  }
}

}  // namespace pirune
