#pragma once
// The flights kept beside the ranking: the last one, and the one behind each of the five
// entries. The ranking never waits for them and never depends on them: a record that is
// missing or does not match its entry is simply not offered.

#include <array>
#include <optional>
#include <string>

#include "flight/record.h"
#include "game/platform.h"
#include "ranking/rank_record.h"

namespace pirune {

class FlightKeeper {
 public:
  explicit FlightKeeper(Platform& platform) : platform_(platform) {}

  // What the platform keeps, read once the ranking has been.
  void load();
  // The flight that just ended: kept as the last one, and waiting for the ranking's say.
  void keepLast(flight::Record record, std::int16_t distance);
  // The ranking after a call into the game: when the last flight took a place there, its record
  // takes that place and the ones below move down with their entries.
  void rankingChanged(const RankTable& before, const RankTable& after);

  [[nodiscard]] const std::optional<std::string>& last() const { return last_; }
  // The record behind the entry at `place`, if one is kept and matches it.
  [[nodiscard]] std::optional<std::string> ranked(std::size_t place, const RankTable& table) const;
  // Which entries have such a record: asked after every call, so it copies no record and reads
  // the table's names back once.
  [[nodiscard]] std::array<bool, kRankCount> offered(const RankTable& table) const;

 private:
  static std::string slot(std::size_t place) { return std::to_string(place + 1); }
  void store(const std::string& slot, const std::string& bytes);
  // The entry a kept record says it earned: read once, when it is loaded or kept.
  static std::optional<RankRecord> claimOf(const std::optional<std::string>& bytes);

  Platform& platform_;
  std::optional<std::string> last_;
  std::optional<flight::Record> waiting_;  // the last flight, until the ranking has had its say
  std::int16_t waitingDistance_ = 0;
  std::array<std::optional<std::string>, kRankCount> ranked_;
  std::array<std::optional<RankRecord>, kRankCount> claims_;
};

}  // namespace pirune
