// The window timers keep the rules of the desktop timers the game was made for.

#include "screen/timers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pirune {
namespace {

struct Clocked {
  std::int64_t now = 0;
  TimerScheduler scheduler{[this] { return now; }};
  std::vector<std::string> ticks;

  void run(std::int64_t until) {
    while (auto due = scheduler.nextDue()) {
      if (*due > until) {
        break;
      }
      now = std::max(now, *due);
      scheduler.fireDue();
    }
    now = until;
  }
  void record(Timer& timer) {
    timer.onTick = [this, &timer] { ticks.push_back(timer.name() + "@" + std::to_string(now)); };
  }
};

TEST(Timers, IntervalZeroNeverTicksAndNothingTicksFasterThanAFrame) {
  Clocked c;
  Timer idle(c.scheduler, "idle", 0, true, false);
  Timer fast(c.scheduler, "fast", 1, true, false);
  c.record(idle);
  c.record(fast);
  c.run(50);
  EXPECT_EQ(c.ticks, (std::vector<std::string>{"fast@16", "fast@32", "fast@48"}));
}

TEST(Timers, EnablingOrChangingTheIntervalStartsAFullIntervalAfresh) {
  Clocked c;
  Timer t(c.scheduler, "t", 100, true, false);
  c.record(t);
  c.run(90);
  t.setInterval(50);  // due at 140, not at 100 or 50
  c.run(139);
  EXPECT_TRUE(c.ticks.empty());
  c.run(140);
  EXPECT_EQ(c.ticks, (std::vector<std::string>{"t@140"}));
  t.setEnabled(false);
  c.run(300);
  t.setEnabled(true);
  t.setEnabled(true);  // already on: the countdown is not restarted again
  c.run(349);
  EXPECT_EQ(c.ticks.size(), 1U);
  c.run(350);
  EXPECT_EQ(c.ticks.back(), "t@350");
  // Setting the same interval is no change.
  c.run(380);
  t.setInterval(50);
  c.run(400);
  EXPECT_EQ(c.ticks.back(), "t@400");
}

TEST(Timers, ALateTickIsDeliveredOnceAndATickCanStopAnother) {
  Clocked c;
  Timer first(c.scheduler, "first", 20, true, false);
  Timer second(c.scheduler, "second", 20, true, false);
  int secondTicks = 0;
  first.onTick = [&] { second.setEnabled(false); };
  second.onTick = [&] { ++secondTicks; };
  c.now = 1000;  // the program was busy for a second
  c.scheduler.fireDue();
  EXPECT_EQ(secondTicks, 0);
  EXPECT_EQ(c.scheduler.nextDue(), 1020);
}

TEST(Timers, ModalBoxesHoldTheGameTimersButNotTheMusic) {
  Clocked c;
  Timer music(c.scheduler, "music", 100, true, false);
  Timer flight(c.scheduler, "flight", 100, true, true);
  c.record(music);
  c.record(flight);
  c.run(50);
  c.scheduler.beginModal();
  c.scheduler.beginModal();
  c.run(500);
  c.scheduler.endModal();
  c.run(520);  // still one box open
  c.scheduler.endModal();
  c.run(620);
  EXPECT_EQ(c.ticks, (std::vector<std::string>{"music@100", "music@200", "music@300", "music@400",
                                               "music@500", "music@600", "flight@620"}));
}

}  // namespace
}  // namespace pirune
