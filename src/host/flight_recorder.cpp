#include "host/flight_recorder.h"

#include <algorithm>

#include "screen/palette.h"

namespace pirune {

namespace {

std::uint8_t paletteIndex(Color color) {
  const auto* found = std::find(kQbPalette.begin(), kQbPalette.end(), color);
  return static_cast<std::uint8_t>(found - kQbPalette.begin());
}

// The shapes come from the new game's scatter: whole units, well within a byte.
std::uint8_t unitsByte(float units) {
  return static_cast<std::uint8_t>(std::clamp(units, 0.0F, 255.0F));
}

}  // namespace

void FlightRecorder::begin(FOM& form, Platform& platform, const ClientGeometry& client) {
  flight::Record r;
  r.endless = form.endlessMode();
  r.music = form.musicOn();
  r.effect = form.effectOn();
  r.randomState = platform.randomState();
  for (std::size_t i = 0; i < r.shapes.size() && i < form.SHP.size(); ++i) {
    const Shape& s = *form.SHP[i];
    r.shapes.at(i) = {paletteIndex(s.BackColor()), unitsByte(s.Left()), unitsByte(s.Top()),
                      unitsByte(s.Width()), unitsByte(s.Height())};
  }
  r.width = std::clamp(client.width, 1, flight::kMaxClientSide);
  r.height = std::clamp(client.height, 1, flight::kMaxClientSide);
  start_ = form.timers.now();
  if (const auto due = form.MMCTIM.due(); form.MMCTIM.Enabled() && due) {
    r.musicIntervalMs = form.MMCTIM.Interval();
    r.musicDueMs = *due - start_;
  }
  record_ = std::move(r);
  full_ = false;
}

std::int64_t FlightRecorder::since(std::int64_t at) const {
  return std::clamp<std::int64_t>(at - start_, 0, flight::kMaxDurationMs);
}

void FlightRecorder::add(flight::Event event) {
  if (!record_ || full_) {
    return;
  }
  if (record_->events.size() >= flight::kMaxEvents) {
    full_ = true;
    return;
  }
  record_->events.push_back(event);
}

void FlightRecorder::press(std::int64_t at, MouseButton button, std::int16_t shift, int x, int y) {
  flight::Event e{flight::EventKind::Press, since(at), button, shift};
  e.x = x;
  e.y = y;
  add(e);
}

void FlightRecorder::release(std::int64_t at, MouseButton button, int x, int y) {
  flight::Event e{flight::EventKind::Release, since(at), button};
  e.x = x;
  e.y = y;
  add(e);
}

void FlightRecorder::option(std::int64_t at, int index) {
  flight::Event e{flight::EventKind::Option, since(at)};
  e.option = index;
  add(e);
}

void FlightRecorder::hold(std::int64_t from, std::int64_t until) {
  flight::Event e{flight::EventKind::Hold, since(from)};
  e.until = since(until);
  add(e);
}

void FlightRecorder::resize(std::int64_t at, const ClientGeometry& client) {
  if (client.width <= 0 || client.height <= 0) {
    return;  // a window shown at no size takes no press
  }
  flight::Event e{flight::EventKind::Resize, since(at)};
  e.x = std::min(client.width, flight::kMaxClientSide);
  e.y = std::min(client.height, flight::kMaxClientSide);
  add(e);
}

flight::Record FlightRecorder::finish(flight::Stop stop, std::int64_t at) {
  flight::Record r = std::move(*record_);
  record_.reset();
  // A record cut at its bound stops where it was cut, as a flight left there.
  r.stop = full_ ? flight::Stop::Closed : stop;
  r.stopAt = full_ && !r.events.empty() ? r.events.back().at : since(at);
  if (!r.events.empty()) {
    r.stopAt =
        std::max(r.stopAt, r.events.back().kind == flight::EventKind::Hold ? r.events.back().until
                                                                           : r.events.back().at);
  }
  return r;
}

}  // namespace pirune
