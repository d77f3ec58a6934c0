#pragma once
// A recorded flight flown again by the game itself: the window made and loaded, the options and
// the random state set as the record found them, the opening clicked through, and then every
// event at its time with every timer tick between. A re-flight plays it to its end at once; a
// watched flight plays it at its own pace.

#include <cstdint>
#include <optional>
#include <string>

#include "flight/record.h"
#include "flight/replay_platform.h"
#include "game/form.h"

namespace pirune::flight {

enum class End { Goal, Wings, Fall, Open };
[[nodiscard]] std::string_view endWord(End end);

struct Outcome {
  int version = kFormatVersion;
  bool endless = false;
  int distance = 0;
  End end = End::Open;
  int beats = 0;
  std::int64_t durationMs = 0;
  // The ranking entry the flight earns: its distance, when that places it (an endless flight
  // past 30 that ended in the game or by a fresh start), under the name it was given.
  std::optional<std::int16_t> rankedDistance;
  std::u16string name;
};

class FlightPlayer {
 public:
  // The record must have passed check(); `platform` lives as long as the player.
  FlightPlayer(const Record& record, ReplayPlatform& platform);

  // What of a decoded record the game could not have begun a flight with; none: it may be flown.
  [[nodiscard]] static std::optional<Refusal> check(const Record& record);

  // Plays on to `time`, the game's milliseconds since the flight began: every event up to it,
  // with the ticks between. A record that stopped mid-flight stands still at its stop.
  // Returns the refusal when the record shows what the game could not have received.
  std::optional<Refusal> playUntil(std::int64_t time);
  // Every event played and the stop reached; the outcome is then whole.
  [[nodiscard]] bool finished() const;
  // When playUntil next has something to do; none when nothing will change any more.
  [[nodiscard]] std::optional<std::int64_t> nextChange() const;

  [[nodiscard]] Outcome outcome() const;
  [[nodiscard]] FOM& form() { return form_; }
  [[nodiscard]] const Record& record() const { return record_; }

 private:
  std::optional<Refusal> apply(const Event& event);
  std::optional<Refusal> advanceTo(std::int64_t time);
  [[nodiscard]] float unitsX(int pixel) const;
  [[nodiscard]] float unitsY(int pixel) const;
  void noteEnd(std::int64_t at);

  const Record& record_;
  ReplayPlatform& platform_;
  FOM form_;
  std::size_t next_ = 0;
  int width_;
  int height_;
  int beats_ = 0;
  std::optional<std::int64_t> endedAt_;
  bool stopped_ = false;
  std::optional<Refusal> refusal_;
};

// Flies a record's bytes again, headless, to their end.
[[nodiscard]] std::variant<Outcome, Refusal> reflight(std::string_view bytes);

// The outcome as one line of JSON.
[[nodiscard]] std::string outcomeJson(const Outcome& outcome);

}  // namespace pirune::flight
