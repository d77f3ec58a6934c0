#include "ranking_cache.h"

#include <algorithm>

namespace pirune::server {

RankingCache::Rows RankingCache::fresh(Clock::time_point now) {
  const std::lock_guard lock(mutex_);
  const bool current = rows_ && rowsAfter_ == placements_ && now - fetchedAt_ < freshFor_;
  return current ? rows_ : nullptr;
}

RankingCache::Rows RankingCache::rows() {
  if (Rows kept = fresh(Clock::now())) {
    return kept;
  }
  const std::lock_guard one(fetching_);
  if (Rows kept = fresh(Clock::now())) {
    return kept;
  }
  std::uint64_t before = 0;
  {
    const std::lock_guard lock(mutex_);
    before = placements_;
  }
  const Clock::time_point at = Clock::now();
  Rows fetched = std::make_shared<const std::vector<std::string>>(fetch_());
  const std::lock_guard lock(mutex_);
  // A flight placed while these rows were read may be missing from them: not kept then.
  if (placements_ == before) {
    rows_ = fetched;
    rowsAfter_ = before;
    fetchedAt_ = at;
  }
  return fetched;
}

std::string RankingCache::list(std::size_t limit) {
  const Rows all = rows();
  std::string text = "[";
  const std::size_t count = std::min(limit, all->size());
  for (std::size_t n = 0; n < count; ++n) {
    if (n > 0) {
      text += ',';
    }
    text += (*all)[n];
  }
  return text + ']';
}

void RankingCache::placed() {
  const std::lock_guard lock(mutex_);
  ++placements_;
}

}  // namespace pirune::server
