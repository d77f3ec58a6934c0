#pragma once
// What the window did, for the benchmark in bench/: every paint (and whether the game had
// changed anything since the one before) and every tick of the game's timers, with the time it
// happened. Made only when PIRUNE_FRAME_STATS names a file; the file is written when the
// window goes away. Without the variable the game runs exactly as it always does.

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace pirune {
class FOM;
class Timer;
}  // namespace pirune

namespace pirune::desktop {

class FrameStats {
 public:
  // Null unless the environment asks for the statistics.
  static std::unique_ptr<FrameStats> fromEnvironment(FOM& form);

  FrameStats(FOM& form, std::string path);
  FrameStats(const FrameStats&) = delete;
  FrameStats& operator=(const FrameStats&) = delete;
  FrameStats(FrameStats&&) = delete;
  FrameStats& operator=(FrameStats&&) = delete;
  // Gives the timers their own tick procedures back and writes the file.
  ~FrameStats();

  void painted();

 private:
  struct Event {
    std::int64_t micros;  // of the system's monotonic clock, which the benchmark reads too
    std::uint64_t value;  // the model's revision for a paint, the timer's index for a tick
    bool paint;
  };
  struct Hooked {
    Timer* timer;
    std::function<void()> original;
  };

  void record(std::uint64_t value, bool paint);
  void write() const;

  FOM& form_;
  std::string path_;
  std::vector<Hooked> hooked_;
  std::vector<Event> events_;
};

}  // namespace pirune::desktop
