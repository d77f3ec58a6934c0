#pragma once
// A recorded flight watched in the game window at its own pace, on a game window of its own:
// the live game waits meanwhile, and neither its ranking nor its options change.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "flight/flight_player.h"

namespace pirune {

// The game's music lent to the watched flight: it plays and stops the music as the flight did,
// while the file stays open for the live game.
class LentMusic : public MusicBackend {
 public:
  explicit LentMusic(MusicBackend& music) : music_(music) {}
  void open(const std::string& /*path*/) override {}
  [[nodiscard]] std::int64_t lengthMs() const override { return music_.lengthMs(); }
  [[nodiscard]] std::optional<std::int64_t> playingAtMs() const override {
    return music_.playingAtMs();
  }
  void rewind() override { music_.rewind(); }
  void rewindAtEnd() override { music_.rewindAtEnd(); }
  void play() override { music_.play(); }
  void stop() override { music_.stop(); }
  void close() override {}

 private:
  MusicBackend& music_;
};

class FlightWatch {
 public:
  // The record flown once at once to learn where it ends (and whether it can be flown at all),
  // then set up to be watched from `now` on the session's clock.
  static std::variant<std::unique_ptr<FlightWatch>, flight::Refusal> start(std::string_view bytes,
                                                                           Platform& source,
                                                                           std::int64_t now);

  FlightWatch(flight::Record record, flight::Outcome outcome, Platform& source, std::int64_t now);
  FlightWatch(const FlightWatch&) = delete;
  FlightWatch& operator=(const FlightWatch&) = delete;
  FlightWatch(FlightWatch&&) = delete;
  FlightWatch& operator=(FlightWatch&&) = delete;
  ~FlightWatch() = default;

  [[nodiscard]] FOM& form() { return player_.form(); }
  // Plays on to `now` on the session's clock.
  void playTo(std::int64_t now);
  // When it next changes, on the session's clock; none once it stands still.
  [[nodiscard]] std::optional<std::int64_t> nextChange() const;
  // What the window says about it: watching, or where the flight ended.
  [[nodiscard]] std::u16string status() const;

 private:
  flight::Record record_;
  flight::Outcome outcome_;
  LentMusic music_;
  flight::ReplayPlatform platform_;
  flight::FlightPlayer player_;
  std::int64_t start_;
};

}  // namespace pirune
