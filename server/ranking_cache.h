#pragma once
// The top of the world ranking as the interface sends it, kept for a moment: the list is what
// players ask for most, and nearly every ask would fetch the same hundred rows. A flight placed
// by this server is listed at once; one placed by another server on the same database, within
// the moment.

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace pirune::server {

class RankingCache {
 public:
  using Clock = std::chrono::steady_clock;
  // The ranking's first rows, best first, each as the JSON text of its entry.
  using Fetch = std::function<std::vector<std::string>()>;

  RankingCache(Fetch fetch, Clock::duration freshFor)
      : fetch_(std::move(fetch)), freshFor_(freshFor) {}

  // The JSON array of the first `limit` entries.
  [[nodiscard]] std::string list(std::size_t limit);
  // A flight was placed here: the next list is fetched again.
  void placed();

 private:
  using Rows = std::shared_ptr<const std::vector<std::string>>;
  [[nodiscard]] Rows fresh(Clock::time_point now);
  [[nodiscard]] Rows rows();

  Fetch fetch_;
  Clock::duration freshFor_;
  std::mutex fetching_;  // one fetch at a time; those who waited for it use what it fetched
  std::mutex mutex_;     // what follows
  std::uint64_t placements_ = 0;
  std::uint64_t rowsAfter_ = 0;  // the placements the kept rows include
  Clock::time_point fetchedAt_;
  Rows rows_;
};

}  // namespace pirune::server
