#pragma once
// Wakes the game up when the next tick of its window timers falls due: one system timer, set
// as the session asks. The rules of the timers themselves (a frame's floor, fresh intervals,
// held during boxes) are the game's.

#include <QTimer>
#include <cstdint>
#include <optional>

namespace pirune::desktop {

class TimerDriver : public QTimer {
  Q_OBJECT

 public:
  explicit TimerDriver(QObject* window);

  // Set to fire after `delayMs`, or stopped when no timer can tick.
  void arm(std::optional<std::int64_t> delayMs);
};

}  // namespace pirune::desktop
