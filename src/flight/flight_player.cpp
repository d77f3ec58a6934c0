#include "flight/flight_player.h"

#include "flight/json_text.h"
#include "game/rules.h"
#include "screen/palette.h"
#include "screen/pointer_units.h"

namespace pirune::flight {

namespace {

// The shapes show up with their corner at 1 to 100 units, up to 29 across, in any colour but
// the palette's last.
constexpr int kShapeColours = static_cast<int>(kQbPalette.size()) - 1;
constexpr int kShapeCornerMax = 100;
constexpr int kShapeSideMax = 29;
// The clicks through the title and the two opening pages that begin every flight.
constexpr int kOpeningClicks = 3;
// The options as mnu1_Click numbers them.
constexpr int kMusicOption = 0;
constexpr int kEndlessOption = 1;
// A session notes the end of a flight with the call that ended it: a tick within its lead, or
// ticks caught up over a wake-up at most a stall late. A record that stops later than this
// after the end is not one a session made.
constexpr std::int64_t kStopAfterEndMs = 1000;

// A ranked name as the ranking keeps it is padded with spaces to ten; a script wants the name.
std::u16string_view trimmed(std::u16string_view name) {
  while (!name.empty() && name.back() == u' ') {
    name.remove_suffix(1);
  }
  return name;
}

Refusal impossible(std::string detail) { return {Reason::ImpossibleEvent, std::move(detail)}; }

}  // namespace

std::string_view endWord(End end) {
  switch (end) {
    case End::Goal: return "goal";
    case End::Wings: return "wings";
    case End::Fall: return "fall";
    case End::Open: return "open";
  }
  return "open";
}

std::optional<Refusal> FlightPlayer::check(const Record& record) {
  for (const ShapeState& s : record.shapes) {
    if (s.colour >= kShapeColours || s.left < 1 || s.left > kShapeCornerMax || s.top < 1 ||
        s.top > kShapeCornerMax || s.width > kShapeSideMax || s.height > kShapeSideMax) {
      return impossible("a background shape no new game could have made");
    }
  }
  if (record.musicDueMs &&
      (record.musicIntervalMs <= 0 ||
       *record.musicDueMs >
           std::max<std::int64_t>(record.musicIntervalMs, TimerScheduler::kMinimumPeriodMs))) {
    return impossible("a music timer due later than its interval");
  }
  return std::nullopt;
}

FlightPlayer::FlightPlayer(const Record& record, ReplayPlatform& platform)
    : record_(record),
      platform_(platform),
      form_(platform),
      width_(record.width),
      height_(record.height) {
  platform_.clock = 0;
  form_.Form_Load();
  form_.Form_Activate();
  form_.mnu1[kMusicOption]->setChecked(record.music);
  form_.endlessItem().setChecked(record.endless);
  form_.mnu1[2]->setChecked(record.effect);
  for (int click = 0; click < kOpeningClicks; ++click) {
    form_.LBl_Click();
  }
  platform_.setRandomState(record.randomState);
  for (std::size_t i = 0; i < record.shapes.size() && i < form_.SHP.size(); ++i) {
    const ShapeState& s = record.shapes.at(i);
    form_.SHP[i]->setBackColor(kQbPalette.at(s.colour));
    form_.SHP[i]->Move(s.left, s.top, s.width, s.height);
  }
  if (record.musicDueMs) {
    form_.MMCTIM.setInterval(static_cast<int>(record.musicIntervalMs));
    form_.MMCTIM.setEnabled(true);
    form_.MMCTIM.setDue(*record.musicDueMs);
  } else {
    form_.MMCTIM.setEnabled(false);
  }
  if (record.music) {
    form_.MMC.Command("prev");
    form_.MMC.Command("play");
  }
}

float FlightPlayer::unitsX(int pixel) const { return pixelToUnits(pixel, width_, kScaleWidth); }
float FlightPlayer::unitsY(int pixel) const { return pixelToUnits(pixel, height_, kScaleHeight); }

void FlightPlayer::noteEnd(std::int64_t at) {
  if (!endedAt_ && !form_.inFlight()) {
    endedAt_ = at;
  }
}

std::optional<Refusal> FlightPlayer::advanceTo(std::int64_t time) {
  // Due by due, so that the moment the flight ends is known to the millisecond.
  for (auto due = form_.timers.nextDue(); due && *due <= time; due = form_.timers.nextDue()) {
    platform_.clock = *due;
    form_.timers.advance(*due);
    noteEnd(*due);
    if (endedAt_ && record_.stop == Stop::Ended && record_.stopAt - *endedAt_ > kStopAfterEndMs &&
        !stopped_) {
      return impossible("the record stops long after the flight ended");
    }
    if (form_.timers.ticksDelivered() > kMaxTicks) {
      return Refusal{Reason::TooLong, "more timer ticks than any flight can take"};
    }
  }
  platform_.clock = std::max(platform_.clock, time);
  form_.timers.advance(time);
  return std::nullopt;
}

std::optional<Refusal> FlightPlayer::apply(const Event& e) {
  if (auto refused = advanceTo(e.at)) {
    return refused;
  }
  if (endedAt_) {
    return impossible("an event after the flight had ended");
  }
  const int wing = form_.wingFrame;
  switch (e.kind) {
    case EventKind::Press:
      if (e.x < 0 || e.y < 0 || e.x >= width_ || e.y >= height_) {
        return impossible("a press outside the window");
      }
      form_.pointerPressed(e.button, e.shift, unitsX(e.x), unitsY(e.y));
      break;
    case EventKind::Release: form_.pointerReleased(e.button, unitsX(e.x), unitsY(e.y)); break;
    case EventKind::Option:
      if (e.option == kEndlessOption) {
        return impossible("endless mode switched during a flight");
      }
      form_.mnu1_Click(static_cast<std::int16_t>(e.option));
      break;
    case EventKind::Hold: {
      // A box holds the flight; the music's timer goes on meanwhile.
      const ModalScope box(form_.timers);
      if (auto refused = advanceTo(e.until)) {
        return refused;
      }
      platform_.clock = e.until;
      break;
    }
    case EventKind::Resize:
      if (e.x <= 0 || e.y <= 0 || e.x > kMaxClientSide || e.y > kMaxClientSide) {
        return impossible("a window of no size");
      }
      width_ = e.x;
      height_ = e.y;
      break;
  }
  if (form_.wingFrame != wing) {
    ++beats_;
  }
  noteEnd(e.at);
  return std::nullopt;
}

std::optional<Refusal> FlightPlayer::playUntil(std::int64_t time) {
  while (!refusal_ && next_ < record_.events.size() && record_.events[next_].at <= time) {
    refusal_ = apply(record_.events[next_++]);
  }
  if (refusal_) {
    return refusal_;
  }
  const bool allPlayed = next_ == record_.events.size();
  refusal_ = advanceTo(allPlayed ? std::min(time, record_.stopAt) : time);
  if (!refusal_ && allPlayed && time >= record_.stopAt && !stopped_) {
    stopped_ = true;
    if (record_.stop == Stop::Ended && !endedAt_) {
      refusal_ = impossible("the record ends the flight where the game had not ended it");
    } else if (record_.stop != Stop::Ended && endedAt_) {
      refusal_ = impossible("the record goes on after the flight had ended");
    }
  }
  // Past its stop, a flight that ended flies on into its story; one left mid-flight stands still.
  if (!refusal_ && stopped_ && record_.stop == Stop::Ended) {
    refusal_ = advanceTo(time);
  }
  return refusal_;
}

bool FlightPlayer::finished() const { return stopped_; }

std::optional<std::int64_t> FlightPlayer::nextChange() const {
  std::optional<std::int64_t> next = form_.timers.nextDue();
  const auto sooner = [&next](std::int64_t at) { next = std::min(next.value_or(at), at); };
  if (next_ < record_.events.size()) {
    sooner(record_.events[next_].at);
  } else if (!stopped_) {
    sooner(record_.stopAt);
  } else if (record_.stop != Stop::Ended) {
    return std::nullopt;
  }
  return next;
}

Outcome FlightPlayer::outcome() const {
  Outcome o;
  o.endless = record_.endless;
  o.distance = form_.distance;
  o.beats = beats_;
  o.durationMs = endedAt_.value_or(record_.stopAt);
  const std::u16string scene = form_.sceneName.value_or(u"");
  o.end = !endedAt_            ? End::Open
          : scene == u"end"    ? End::Goal
          : scene == u"otiru1" ? End::Wings
                               : End::Fall;
  // The game ranks a flight at the next new game; a window closed mid-flight has none.
  if (record_.stop != Stop::Closed && form_.distance > rules::kRankingAbove) {
    o.rankedDistance = static_cast<std::int16_t>(form_.distance);
    o.name = record_.rankedName;
  }
  return o;
}

std::variant<Outcome, Refusal> reflight(std::string_view bytes) {
  auto decoded = decode(bytes);
  if (auto* refused = std::get_if<Refusal>(&decoded)) {
    return *refused;
  }
  const Record& record = std::get<Record>(decoded);
  if (auto refused = FlightPlayer::check(record)) {
    return *refused;
  }
  ReplayPlatform platform(record.musicIntervalMs);
  FlightPlayer player(record, platform);
  if (auto refused = player.playUntil(record.stopAt)) {
    return *refused;
  }
  return player.outcome();
}

std::string outcomeJson(const Outcome& o) {
  std::string json = "{\"version\": " + std::to_string(o.version) +
                     ", \"endless\": " + (o.endless ? "true" : "false") +
                     ", \"distance\": " + std::to_string(o.distance) + ", \"end\": \"" +
                     std::string(endWord(o.end)) + "\", \"beats\": " + std::to_string(o.beats) +
                     ", \"duration_ms\": " + std::to_string(o.durationMs) + ", \"ranking\": ";
  json += o.rankedDistance ? "{\"distance\": " + std::to_string(*o.rankedDistance) +
                                 ", \"name\": " + jsonString(trimmed(o.name)) + "}"
                           : std::string("null");
  return json + "}";
}

}  // namespace pirune::flight
