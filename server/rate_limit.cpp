#include "rate_limit.h"

#include <algorithm>

namespace pirune::server {

bool RateLimit::allow(const std::string& address) {
  const auto now = Clock::now();
  const std::lock_guard lock(mutex_);
  forgetFull(now);
  auto [it, fresh] = buckets_.try_emplace(address, Bucket{perMinute_, now});
  Bucket& b = it->second;
  if (!fresh) {
    const double minutes = std::chrono::duration<double, std::ratio<60>>(now - b.at).count();
    b.left = std::min(perMinute_, b.left + minutes * perMinute_);
    b.at = now;
  }
  if (b.left < 1) {
    return false;
  }
  b.left -= 1;
  return true;
}

// An address quiet for a minute has its whole allowance back, so it need not be remembered.
void RateLimit::forgetFull(Clock::time_point now) {
  if (now - swept_ < std::chrono::minutes(1)) {
    return;
  }
  swept_ = now;
  std::erase_if(buckets_, [now](const auto& entry) {
    return now - entry.second.at >= std::chrono::minutes(1);
  });
}

}  // namespace pirune::server
