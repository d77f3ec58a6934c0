#pragma once
// The world ranking's HTTP interface, and the site beside it.

#include <atomic>
#include <cstdint>
#include <string>

#include "rate_limit.h"
#include "store.h"
#include "verdict.h"

namespace httplib {
class Server;
}

namespace pirune::server {

// The largest body the server reads: a record of about 48 KB, as base64 in its JSON.
inline constexpr std::size_t kMaxBody = 64 * 1024;

struct Settings {
  std::string site;  // empty: the interface alone
  Timing timing;
  // The longest flight the record allows is 8 hours of the game's time; a token lives an hour
  // more, then it is refused as expired.
  std::int64_t tokenLifeMs = 9LL * 3600 * 1000;
  double startsPerMinute = 30;
  double sendsPerMinute = 6;
};

class Api {
 public:
  Api(Store& store, Settings settings);
  void install(httplib::Server& server);

 private:
  Store& store_;
  Settings settings_;
  RateLimit starts_;
  RateLimit sends_;
  std::atomic<std::int64_t> forgotAt_ = 0;
};

}  // namespace pirune::server
