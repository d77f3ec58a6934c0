#pragma once
// What the world ranking says to a flight sent to it: the player's name as scr.dat keeps it,
// the record's bytes, and whether the flight, as the server flew it and timed it, counts.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "flight/flight_player.h"

namespace pirune::server {

enum class Why {
  BadRequest,
  TooLarge,
  TooMany,
  UnknownToken,
  UsedToken,
  ExpiredToken,
  TooFast,
  TooLate,
  NotEndless,
  NotPast30,
  NotRanked,
  BadName,
  EmptyName,
  BadBase64,
  NotFound,
  NoDatabase,
  Failed,
};

// An answer that refuses: its status, one word for programs, a sentence for the player (UTF-8).
struct Refused {
  int status = 400;
  std::string reason;
  std::string sentence;
};
[[nodiscard]] Refused refused(Why why);
[[nodiscard]] Refused refused(const flight::Refusal& refusal);

// The name as the ranking keeps it: code page 932, cut to scr.dat's ten bytes, read back, with
// the padding taken off. Control characters are refused; so is a name that is empty then.
[[nodiscard]] std::variant<std::string, Refused> rankedName(std::string_view utf8);

// Standard base64 with its padding, nothing else; none when the text is not that.
[[nodiscard]] std::optional<std::string> fromBase64(std::string_view text);
[[nodiscard]] std::string toBase64(std::string_view bytes);

struct Timing {
  // How much sooner than the flight's own length the sender may be: the clocks of a page and
  // of the server do not start at the same instant.
  std::int64_t leewayMs = 3'000;
  // How long after the flight the sender may be: the closing story, the name, the choice to send.
  std::int64_t slackMs = 600'000;
};

// Whether a flight the server flew again counts, given how long ago its token was handed out.
[[nodiscard]] std::optional<Refused> judge(const flight::Outcome& outcome, std::int64_t elapsedMs,
                                           const Timing& timing);

}  // namespace pirune::server
