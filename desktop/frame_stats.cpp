#include "frame_stats.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

#include "game/form.h"

namespace pirune::desktop {

namespace {

// About three hours of a flight with the background effect on; the statistics are for runs of
// a minute, and a forgotten variable must not let the game grow without end.
constexpr std::size_t kMaxEvents = 1'000'000;

std::int64_t nowMicros() {
  return std::chrono::duration_cast<std::chrono::microseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace

std::unique_ptr<FrameStats> FrameStats::fromEnvironment(FOM& form) {
  const char* path = std::getenv("PIRUNE_FRAME_STATS");
  if (path == nullptr || *path == '\0') {
    return nullptr;
  }
  return std::make_unique<FrameStats>(form, path);
}

FrameStats::FrameStats(FOM& form, std::string path) : form_(form), path_(std::move(path)) {
  events_.reserve(4096);
  for (Timer* timer : {&form_.MMCTIM, &form_.piruneTIM, &form_.SHPTIM}) {
    const std::uint64_t index = hooked_.size();
    hooked_.push_back({timer, timer->onTick});
    timer->onTick = [this, index, tick = timer->onTick] {
      record(index, false);
      if (tick) {
        tick();
      }
    };
  }
}

FrameStats::~FrameStats() {
  for (Hooked& hooked : hooked_) {
    hooked.timer->onTick = std::move(hooked.original);
  }
  write();
}

void FrameStats::painted() { record(form_.window.revision(), true); }

void FrameStats::record(std::uint64_t value, bool paint) {
  if (events_.size() < kMaxEvents) {
    events_.push_back({nowMicros(), value, paint});
  }
}

void FrameStats::write() const {
  std::FILE* file = std::fopen(path_.c_str(), "w");
  if (file == nullptr) {
    return;
  }
  for (std::size_t i = 0; i < hooked_.size(); ++i) {
    std::fprintf(file, "timer %zu %s\n", i, hooked_[i].timer->name().c_str());
  }
  for (const Event& event : events_) {
    std::fprintf(file, "%s %lld %llu\n", event.paint ? "paint" : "tick",
                 static_cast<long long>(event.micros),
                 static_cast<unsigned long long>(event.value));
  }
  std::fclose(file);
}

}  // namespace pirune::desktop
