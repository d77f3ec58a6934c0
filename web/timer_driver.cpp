#include "timer_driver.h"

#include <algorithm>

#include "page.h"
#include "screen/timers.h"

namespace pirune::web {

void TimerDriver::rearm() {
  const auto due = scheduler_.nextDue();
  if (!due) {
    page::armTimer(-1);
    return;
  }
  page::armTimer(std::max<std::int64_t>(*due - scheduler_.now(), 0));
}

}  // namespace pirune::web
