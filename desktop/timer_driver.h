#pragma once
// Wakes the game up when the next tick of its window timers falls due: one system timer,
// always set for the next tick. The rules of the timers themselves (a frame's floor, fresh
// intervals, held during boxes) are the game's.

#include <QTimer>

namespace pirune {
class TimerScheduler;
}

namespace pirune::desktop {

class TimerDriver : public QTimer {
  Q_OBJECT

 public:
  TimerDriver(const TimerScheduler& scheduler, QObject* window);

  // Set for the next tick, or stopped when no timer can tick; any call into the game may
  // have started, stopped or changed a timer.
  void rearm();

 private:
  const TimerScheduler& scheduler_;
};

}  // namespace pirune::desktop
