#pragma once
// The flight as it is played, kept as a record: the options, the random state and the shapes
// as the flight found them, then each event that reached the game with the game's time. The
// session tells it what happens; it knows nothing of any shell.

#include <cstdint>
#include <optional>

#include "flight/record.h"
#include "game/form.h"
#include "host/pixels.h"

namespace pirune {

class FlightRecorder {
 public:
  // A flight has just begun, at `now` on the game's clock.
  void begin(FOM& form, Platform& platform, const ClientGeometry& client);
  [[nodiscard]] bool recording() const { return record_.has_value(); }

  void press(std::int64_t at, MouseButton button, std::int16_t shift, int x, int y);
  void release(std::int64_t at, MouseButton button, int x, int y);
  void option(std::int64_t at, int index);
  void hold(std::int64_t from, std::int64_t until);
  void resize(std::int64_t at, const ClientGeometry& client);

  // The flight is over, or left: the whole record. Past the bound, the record keeps what fits
  // and stops where it was cut, so that even an endless flight of hours is kept.
  [[nodiscard]] flight::Record finish(flight::Stop stop, std::int64_t at);

 private:
  void add(flight::Event event);
  [[nodiscard]] std::int64_t since(std::int64_t at) const;

  std::optional<flight::Record> record_;
  std::int64_t start_ = 0;
  bool full_ = false;
};

}  // namespace pirune
