#pragma once
// Per-address limits on asking for tokens and on sending flights: a bucket of a minute's
// allowance per address, refilled as time passes. Addresses live only here, in memory.

#include <chrono>
#include <cstddef>
#include <mutex>
#include <string>
#include <unordered_map>

namespace pirune::server {

class RateLimit {
 public:
  using Clock = std::chrono::steady_clock;
  explicit RateLimit(double perMinute) : perMinute_(perMinute) {}

  // Whether `address` may go on now; a yes spends one of its allowance.
  bool allow(const std::string& address);

 private:
  struct Bucket {
    double left = 0;
    Clock::time_point at;
  };
  void forgetFull(Clock::time_point now);

  double perMinute_;
  std::mutex mutex_;
  std::unordered_map<std::string, Bucket> buckets_;
  Clock::time_point swept_ = Clock::now();
};

}  // namespace pirune::server
