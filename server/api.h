#pragma once
// The world ranking's HTTP interface, and the site beside it.

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "ranking_cache.h"
#include "rate_limit.h"
#include "store.h"
#include "verdict.h"

namespace httplib {
class Server;
struct Request;
struct Response;
}  // namespace httplib

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
  // How long a list of the ranking is sent again before it is read again from the database:
  // how late a flight placed by another server may be listed here.
  std::int64_t freshMs = 1000;
  // A page served from elsewhere that may use this interface (its origin, as
  // "https://pirune.example"); empty: only pages served from here.
  std::string allowOrigin;
  // Load balancers whose X-Forwarded-For names the player's address: behind them, the limits
  // count players, not the balancer.
  std::vector<std::string> proxies;
};

// Whether `origin` is a page's origin as a browser sends it: http or https, a host, a port.
[[nodiscard]] bool isOrigin(const std::string& origin);

class Api {
 public:
  Api(Store& store, Settings settings);
  void install(httplib::Server& server);

 private:
  // The address the limits count: the player's, as the peer or a trusted balancer says.
  [[nodiscard]] std::string player(const httplib::Request& req) const;
  // Answers a page from the allowed origin may read; the preflight answered. True when the
  // request was answered.
  bool crossOrigin(const httplib::Request& req, httplib::Response& res) const;
  void receiveFlight(const std::string& text, httplib::Response& res);

  Store& store_;
  Settings settings_;
  RateLimit starts_;
  RateLimit sends_;
  RankingCache top_;
  std::atomic<std::int64_t> forgotAt_ = 0;
};

}  // namespace pirune::server
