#pragma once
// A flight record: what reached the game from the click that started a flight to its end, and
// nothing about the player but the name the flight was ranked under. Its bytes are described in
// docs/flight-record.md; they are untrusted wherever they come from, so reading them checks
// every bound before it trusts a length or a count.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "screen/mouse_button.h"

namespace pirune::flight {

inline constexpr std::array<char, 4> kMagic{'P', 'F', 'L', 'T'};
inline constexpr std::uint8_t kFormatVersion = 1;
// The rules the record was flown under: ver1.00.
inline constexpr std::uint16_t kGameVersion = 100;

// The bound. The longest flight the 16-bit distance allows is the endless one that reaches the
// star at 30000: 59,998 wing beats, each a press and a release, which takes at least about 40
// minutes and, flown at the slowest pace that keeps the hero aloft, about 5 hours 20 minutes.
// Anything past these limits is refused unread.
inline constexpr std::size_t kMaxEvents = 131'072;
inline constexpr std::size_t kMaxBytes = 1U << 21U;                // 2 MiB
inline constexpr std::int64_t kMaxDurationMs = 8LL * 3600 * 1000;  // 8 hours of the game's time
// The ticks of the game's timers while it is flown again (the background effect's every 17 ms
// over 8 hours, and the flight timer's): a re-flight stops there, whatever the record says.
inline constexpr std::uint64_t kMaxTicks = 2'000'000;
// The client area's side, in pixels.
inline constexpr int kMaxClientSide = 16'384;
// A ranked name: ten UTF-16 code units at most, as the ranking keeps it.
inline constexpr std::size_t kMaxNameUnits = 10;

enum class EventKind : std::uint8_t {
  Press,    // a mouse button pressed, at a pixel of the client area
  Release,  // released, at a pixel (anywhere: the pointer may have left the window)
  Option,   // an option switched in flight: 0 the music, 2 the background effect
  Hold,     // a box open: the flight and the effect wait for `until`
  Resize,   // the client area's new size, in pixels
};

struct Event {
  EventKind kind = EventKind::Press;
  std::int64_t at = 0;  // the game's time, in milliseconds since the flight began
  MouseButton button = MouseButton::Left;
  std::int16_t shift = 0;  // 1 Shift, 2 Ctrl, 4 Alt
  int x = 0;               // a pixel, or the new width
  int y = 0;               // a pixel, or the new height
  int option = 0;
  std::int64_t until = 0;
  friend bool operator==(const Event&, const Event&) = default;
};

// How the record stops.
enum class Stop : std::uint8_t {
  Ended,    // the flight ended in the game: the goal, the wings gone or the fall
  NewGame,  // the player started afresh mid-flight
  Closed,   // the window closed mid-flight (or the game failed)
};

// A background shape as the flight found it: a palette colour and whole units.
struct ShapeState {
  std::uint8_t colour = 0;
  std::uint8_t left = 0;
  std::uint8_t top = 0;
  std::uint8_t width = 0;
  std::uint8_t height = 0;
  friend bool operator==(const ShapeState&, const ShapeState&) = default;
};

struct Record {
  std::uint16_t gameVersion = kGameVersion;
  bool endless = false;
  bool music = false;
  bool effect = false;
  std::uint64_t randomState = 0;
  std::array<ShapeState, 4> shapes{};
  int width = 0;  // the client area, in pixels, as the flight began
  int height = 0;
  // The music's restart timer: its interval and when it next ticks after the start; none: off.
  std::int64_t musicIntervalMs = 0;
  std::optional<std::int64_t> musicDueMs;
  std::vector<Event> events;
  Stop stop = Stop::Ended;
  std::int64_t stopAt = 0;
  // The ranking entry the flight earned, once the player named it; empty and 0 before.
  std::u16string rankedName;
  std::int16_t rankedDistance = 0;
  friend bool operator==(const Record&, const Record&) = default;
};

// Why a record is refused: one word for machines, and a sentence for the player.
enum class Reason : std::uint8_t {
  NotARecord,       // not_a_record
  NewerFormat,      // newer_format
  CutShort,         // cut_short
  TooLong,          // too_long
  ImpossibleEvent,  // impossible_event
  Malformed,        // malformed
};
[[nodiscard]] std::string_view reasonWord(Reason reason);
[[nodiscard]] std::u16string_view reasonText(Reason reason);

struct Refusal {
  Reason reason = Reason::Malformed;
  std::string detail;  // English, for a program's error line
};

[[nodiscard]] std::string encode(const Record& record);
[[nodiscard]] std::variant<Record, Refusal> decode(std::string_view bytes);

}  // namespace pirune::flight
