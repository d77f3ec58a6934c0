#pragma once
// The world ranking as the session sees it: when a flight asks the server for its token, when a
// flight is offered to the world, and what the player is told. The shells only carry the HTTP.
// Nothing leaves the player's machine unless the player says yes: the token's request carries
// nothing of the player, and a late or failed answer changes nothing of the local game.

#include <optional>
#include <string>

namespace pirune {

// What the server said to a flight sent to it.
struct WorldReply {
  enum class Kind { Placed, Refused, Unreachable };
  Kind kind = Kind::Unreachable;
  long long rank = 0;
  long long distance = 0;
  std::string sentence;  // the server's own sentence for a refusal, in UTF-8
};

// A flight the player may send: what goes to the server once they say yes.
struct WorldOffer {
  std::string token;
  std::string name;  // UTF-8, as the local ranking keeps it, without its padding
  std::string record;
  int distance = 0;
};

class WorldRanking {
 public:
  // A live flight began: true when its token is to be asked for (an endless flight, where the
  // shell has a world ranking). An older flight's token is no longer this one's.
  bool flightBegan(bool endless, bool offered);
  // The server's token for the flight that asked last; none when no flight is waiting for one.
  void tokenArrived(std::string token);
  // The local ranking changed after a flight ended; `last` is the last flight's record as kept.
  // The offer when that flight is endless, past 30, named in the ranking and holds its token.
  // Decided once per flight: the token is spent either way.
  std::optional<WorldOffer> rankingChanged(const std::optional<std::string>& last);

  // What the player is asked, and told.
  [[nodiscard]] static std::u16string offerText(const WorldOffer& offer);
  [[nodiscard]] static std::u16string replyText(const WorldReply& reply);
  [[nodiscard]] static std::u16string unreachableText();

 private:
  bool waiting_ = false;  // the latest flight asked for a token and has not been decided
  std::optional<std::string> token_;
};

// The world ranking's distance floor: flights past the star count.
inline constexpr int kWorldFloor = 30;

}  // namespace pirune
