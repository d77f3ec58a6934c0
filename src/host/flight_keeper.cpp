#include "host/flight_keeper.h"

#include <exception>
#include <variant>

#include "ranking/scr_dat.h"

namespace pirune {

namespace {

// Names as scr.dat gives them back, which is how they are compared after the next start.
RankTable asStored(const RankTable& table) { return decodeRanking(encodeRanking(table)); }

}  // namespace

void FlightKeeper::store(const std::string& slot, const std::string& bytes) {
  try {
    platform_.storeFlight(slot, bytes);
  } catch (const std::exception&) {
    // A record that cannot be kept is no reason to stop a game; it is simply not offered later.
  }
}

void FlightKeeper::load() {
  const auto read = [this](const std::string& slot) -> std::optional<std::string> {
    try {
      return platform_.loadFlight(slot);
    } catch (const std::exception&) {
      return std::nullopt;
    }
  };
  last_ = read("last");
  for (std::size_t place = 0; place < kRankCount; ++place) {
    ranked_.at(place) = read(slot(place));
    claims_.at(place) = claimOf(ranked_.at(place));
  }
}

void FlightKeeper::keepLast(flight::Record record, std::int16_t distance) {
  last_ = flight::encode(record);
  store("last", *last_);
  waiting_ = std::move(record);
  waitingDistance_ = distance;
}

void FlightKeeper::rankingChanged(const RankTable& before, const RankTable& after) {
  if (!waiting_ || before == after) {
    return;
  }
  std::size_t place = 0;
  while (place < kRankCount && before.at(place) == after.at(place)) {
    ++place;
  }
  bool movedDown = place < kRankCount && after.at(place).score == waitingDistance_;
  for (std::size_t j = place; movedDown && j + 1 < kRankCount; ++j) {
    movedDown = after.at(j + 1) == before.at(j);
  }
  flight::Record record = std::move(*waiting_);
  waiting_.reset();
  if (!movedDown) {
    return;  // the ranking changed for another reason: a scr.dat brought in
  }
  for (std::size_t j = kRankCount - 1; j > place; --j) {
    ranked_.at(j) = ranked_.at(j - 1);
    claims_.at(j) = claims_.at(j - 1);
    if (ranked_.at(j)) {
      store(slot(j), *ranked_.at(j));
    }
  }
  record.rankedName = asStored(after).at(place).name;
  record.rankedDistance = after.at(place).score;
  ranked_.at(place) = flight::encode(record);
  claims_.at(place) = RankRecord{record.rankedName, record.rankedDistance};
  store(slot(place), *ranked_.at(place));
  last_ = ranked_.at(place);
  store("last", *last_);
}

std::optional<RankRecord> FlightKeeper::claimOf(const std::optional<std::string>& bytes) {
  if (!bytes) {
    return std::nullopt;
  }
  const auto decoded = flight::decode(*bytes);
  const auto* record = std::get_if<flight::Record>(&decoded);
  if (record == nullptr) {
    return std::nullopt;
  }
  return RankRecord{record->rankedName, record->rankedDistance};
}

std::optional<std::string> FlightKeeper::ranked(std::size_t place, const RankTable& table) const {
  if (!offered(table).at(place)) {
    return std::nullopt;
  }
  return ranked_.at(place);
}

std::array<bool, kRankCount> FlightKeeper::offered(const RankTable& table) const {
  const RankTable stored = asStored(table);
  std::array<bool, kRankCount> offers{};
  for (std::size_t place = 0; place < kRankCount; ++place) {
    offers.at(place) = claims_.at(place) && *claims_.at(place) == stored.at(place);
  }
  return offers;
}

}  // namespace pirune
