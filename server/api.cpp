#include "api.h"

#include <httplib.h>
#include <sys/random.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <ctime>
#include <iostream>
#include <nlohmann/json.hpp>
#include <regex>

namespace pirune::server {
namespace {

using nlohmann::json;

// Only the page's own files, its wasm and its worker; no inline script or style anywhere.
constexpr const char* kPolicy =
    "default-src 'self'; script-src 'self' 'wasm-unsafe-eval'; style-src 'self'; "
    "img-src 'self' blob: data:; media-src 'self' blob:; connect-src 'self'; "
    "worker-src 'self'; manifest-src 'self'; object-src 'none'; base-uri 'none'; "
    "form-action 'none'; frame-ancestors 'none'";

// How much of a body sent in chunks past kMaxBody is let through unkept.
constexpr std::size_t kDrained = std::size_t{1024} * 1024;

// The most a list of the ranking holds.
constexpr int kListed = 100;

std::int64_t nowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

void answer(httplib::Response& res, int status, const std::string& body) {
  res.status = status;
  res.set_header("Cache-Control", "no-store");
  res.set_content(body, "application/json");
}

void answer(httplib::Response& res, int status, const json& body) {
  answer(res, status, body.dump());
}

void refuse(httplib::Response& res, const Refused& r) {
  answer(res, r.status, json{{"error", r.sentence}, {"reason", r.reason}});
}

// 128 bits from the kernel's generator: a token nobody can guess from the ones they were given.
std::string newToken() {
  std::array<unsigned char, 16> bits{};
  std::size_t got = 0;
  while (got < bits.size()) {
    const ssize_t n = getrandom(bits.data() + got, bits.size() - got, 0);
    if (n < 0) {
      if (errno == EINTR) {
        continue;
      }
      throw std::runtime_error("getrandom failed");
    }
    got += static_cast<std::size_t>(n);
  }
  constexpr std::string_view kHex = "0123456789abcdef";
  std::string token;
  for (const unsigned char b : bits) {
    token.push_back(kHex[b >> 4U]);
    token.push_back(kHex[b & 0xFU]);
  }
  return token;
}

bool looksLikeToken(const std::string& token) {
  return token.size() == 32 && token.find_first_not_of("0123456789abcdef") == std::string::npos;
}

std::string isoTime(std::int64_t ms) {
  const std::time_t seconds = ms / 1000;
  std::tm utc{};
  gmtime_r(&seconds, &utc);
  std::array<char, 32> text{};
  const std::size_t n = std::strftime(text.data(), text.size(), "%Y-%m-%dT%H:%M:%SZ", &utc);
  return {text.data(), n};
}

// Judged by what the client says it will send, so nothing of a large body is read; a body
// that comes in chunks instead stops at the payload limit.
bool bodyTooLarge(const httplib::Request& req) {
  const std::string length = req.get_header_value("Content-Length");
  return length.size() > 9 ||
         (!length.empty() && std::strtoull(length.c_str(), nullptr, 10) > kMaxBody);
}

bool isPost(const httplib::Request& req, const char* path) {
  return req.method == "POST" && req.path == path;
}

std::string trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  const auto last = text.find_last_not_of(" \t");
  return first == std::string_view::npos ? std::string()
                                         : std::string(text.substr(first, last - first + 1));
}

}  // namespace

bool isOrigin(const std::string& origin) {
  static const std::regex kOrigin(
      R"(https?://([A-Za-z0-9-]+(\.[A-Za-z0-9-]+)*|\[[0-9A-Fa-f:.]+\])(:[0-9]{1,5})?)");
  return origin.size() <= 256 && std::regex_match(origin, kOrigin);
}

std::string Api::player(const httplib::Request& req) const {
  if (std::find(settings_.proxies.begin(), settings_.proxies.end(), req.remote_addr) ==
      settings_.proxies.end()) {
    return req.remote_addr;
  }
  // The balancer adds the address it saw last; what stands before it, the player may have
  // written themselves.
  const std::size_t headers = req.get_header_value_count("X-Forwarded-For");
  const std::string forwarded =
      headers == 0 ? std::string() : req.get_header_value("X-Forwarded-For", headers - 1);
  const std::string last = trimmed(std::string_view(forwarded).substr(forwarded.rfind(',') + 1));
  return last.empty() || last.size() > 64 ? req.remote_addr : last;
}

bool Api::crossOrigin(const httplib::Request& req, httplib::Response& res) const {
  if (settings_.allowOrigin.empty() || !req.path.starts_with("/api/")) {
    return false;
  }
  res.set_header("Vary", "Origin");
  if (req.get_header_value("Origin") != settings_.allowOrigin) {
    return false;  // the browser keeps the answer from any other page
  }
  res.set_header("Access-Control-Allow-Origin", settings_.allowOrigin);
  if (req.method != "OPTIONS") {
    return false;
  }
  res.status = 204;
  res.set_header("Access-Control-Allow-Methods", "GET, POST");
  res.set_header("Access-Control-Allow-Headers", "Content-Type");
  res.set_header("Access-Control-Max-Age", "600");
  return true;
}

Api::Api(Store& store, Settings settings)
    : store_(store),
      settings_(std::move(settings)),
      starts_(settings_.startsPerMinute),
      sends_(settings_.sendsPerMinute),
      top_(
          [this] {
            std::vector<std::string> rows;
            for (const RankedFlight& f : store_.ranking(kListed)) {
              rows.push_back(json{{"rank", static_cast<std::int64_t>(rows.size()) + 1},
                                  {"name", f.name},
                                  {"distance", f.distance},
                                  {"when", isoTime(f.atMs)},
                                  {"id", std::to_string(f.id)}}
                                 .dump());
            }
            return rows;
          },
          std::chrono::milliseconds(settings_.freshMs)) {}

void Api::install(httplib::Server& server) {
  server.set_default_headers({{"Content-Security-Policy", kPolicy},
                              {"X-Content-Type-Options", "nosniff"},
                              {"Referrer-Policy", "no-referrer"}});
  server.set_payload_max_length(kMaxBody);

  // Before any body is read: a body that is too large, and an address that asks too often.
  server.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
    if (crossOrigin(req, res)) {
      return httplib::Server::HandlerResponse::Handled;
    }
    const bool start = isPost(req, "/api/flights/start");
    const bool send = isPost(req, "/api/flights");
    if (bodyTooLarge(req)) {
      refuse(res, refused(Why::TooLarge));
    } else if ((start && !starts_.allow(player(req))) || (send && !sends_.allow(player(req)))) {
      refuse(res, refused(Why::TooMany));
    } else {
      return httplib::Server::HandlerResponse::Unhandled;
    }
    // The body was not read, so this connection cannot carry another request.
    res.set_header("Connection", "close");
    return httplib::Server::HandlerResponse::Handled;
  });

  server.Post("/api/flights/start", [this](const httplib::Request&, httplib::Response& res) {
    const std::int64_t now = nowMs();
    // Now and then, the tokens that can only be refused as expired make room.
    std::int64_t last = forgotAt_;
    if (now - last > settings_.tokenLifeMs && forgotAt_.compare_exchange_strong(last, now)) {
      store_.forgetTokens(now - 2 * settings_.tokenLifeMs);
    }
    const std::string token = newToken();
    store_.addToken(token, now);
    answer(res, 200, json{{"token", token}});
  });

  // Read here rather than by the server, so that a body sent in chunks is held to the limit
  // too. Past it, the rest is let through unkept up to kDrained, so that the client, which is
  // still sending, hears why; beyond that the connection is simply closed.
  server.Post("/api/flights", [this](const httplib::Request&, httplib::Response& res,
                                     const httplib::ContentReader& reader) {
    std::string body;
    std::size_t sent = 0;
    const bool read = reader([&](const char* data, std::size_t length) {
      sent += length;
      if (sent <= kMaxBody) {
        body.append(data, length);
      }
      return sent <= kDrained;
    });
    if (sent > kMaxBody || !read) {
      refuse(res, refused(sent > kMaxBody ? Why::TooLarge : Why::BadRequest));
      res.set_header("Connection", "close");
      return;
    }
    receiveFlight(body, res);
  });

  server.Get("/api/ranking", [this](const httplib::Request& req, httplib::Response& res) {
    int limit = kListed;
    if (req.has_param("limit")) {
      const std::string text = req.get_param_value("limit");
      if (text.empty() || text.size() > 3 ||
          text.find_first_not_of("0123456789") != std::string::npos || std::stoi(text) < 1 ||
          std::stoi(text) > kListed) {
        refuse(res, refused(Why::BadRequest));
        return;
      }
      limit = std::stoi(text);
    }
    answer(res, 200, top_.list(static_cast<std::size_t>(limit)));
  });

  server.Get(R"(/api/flights/(\d{1,18}))",
             [this](const httplib::Request& req, httplib::Response& res) {
               const auto bytes = store_.record(std::stoll(req.matches[1].str()));
               if (!bytes) {
                 refuse(res, refused(Why::NotFound));
                 return;
               }
               res.set_header("Cache-Control", "public, max-age=86400, immutable");
               res.set_content(*bytes, "application/octet-stream");
             });

  server.Get("/api/health", [this](const httplib::Request&, httplib::Response& res) {
    if (store_.healthy()) {
      answer(res, 200, json{{"ok", true}});
    } else {
      refuse(res, refused(Why::NoDatabase));
    }
  });

  // Whatever went wrong inside stays in the server's log; the player gets a sentence.
  server.set_exception_handler([](const httplib::Request& req, httplib::Response& res,
                                  const std::exception_ptr& ep) {
    try {
      std::rethrow_exception(ep);
    } catch (const std::exception& e) {
      std::cerr << "pirune-server: " << req.method << ' ' << req.path << ": " << e.what() << '\n';
    } catch (...) {
      std::cerr << "pirune-server: " << req.method << ' ' << req.path << ": failed\n";
    }
    refuse(res, refused(Why::Failed));
  });
  server.set_error_handler(
      httplib::Server::HandlerWithResponse([](const httplib::Request&, httplib::Response& res) {
        if (!res.body.empty()) {
          return httplib::Server::HandlerResponse::Unhandled;
        }
        Refused r = res.status == 413   ? refused(Why::TooLarge)
                    : res.status == 404 ? refused(Why::NotFound)
                                        : refused(Why::BadRequest);
        r.status = res.status;
        refuse(res, r);
        return httplib::Server::HandlerResponse::Handled;
      }));

  if (!settings_.site.empty()) {
    for (const auto& [ext, type] : std::initializer_list<std::pair<const char*, const char*>>{
             {"html", "text/html; charset=utf-8"},
             {"js", "text/javascript; charset=utf-8"},
             {"mjs", "text/javascript; charset=utf-8"},
             {"css", "text/css; charset=utf-8"},
             {"wasm", "application/wasm"},
             {"webmanifest", "application/manifest+json"},
             {"json", "application/json"},
             {"webp", "image/webp"},
             {"png", "image/png"},
             {"svg", "image/svg+xml"},
             {"ico", "image/x-icon"},
             {"mp3", "audio/mpeg"},
             {"pflight", "application/octet-stream"},
             {"dat", "application/octet-stream"}}) {
      server.set_file_extension_and_mimetype_mapping(ext, type);
    }
    if (!server.set_mount_point("/", settings_.site)) {
      throw std::runtime_error("the site folder cannot be read: " + settings_.site);
    }
  }
}

void Api::receiveFlight(const std::string& text, httplib::Response& res) {
  const json body = json::parse(text, nullptr, false);
  if (!body.is_object() || !body.contains("token") || !body["token"].is_string() ||
      !body.contains("name") || !body["name"].is_string() || !body.contains("record") ||
      !body["record"].is_string()) {
    refuse(res, refused(Why::BadRequest));
    return;
  }
  const auto name = rankedName(body["name"].get<std::string>());
  if (const auto* r = std::get_if<Refused>(&name)) {
    refuse(res, *r);
    return;
  }
  const auto bytes = fromBase64(body["record"].get<std::string>());
  if (!bytes) {
    refuse(res, refused(Why::BadBase64));
    return;
  }
  const auto tokenText = body["token"].get<std::string>();
  const auto token = looksLikeToken(tokenText) ? store_.findToken(tokenText) : std::nullopt;
  if (!token) {
    refuse(res, refused(Why::UnknownToken));
    return;
  }
  if (token->used) {
    refuse(res, refused(Why::UsedToken));
    return;
  }
  const std::int64_t elapsed = nowMs() - token->issuedMs;
  if (elapsed > settings_.tokenLifeMs) {
    refuse(res, refused(Why::ExpiredToken));
    return;
  }
  // The server's own flight decides; the token is spent on the verdict either way, so one
  // flight gets one verdict.
  const auto flown = flight::reflight(*bytes);
  std::optional<Refused> verdict;
  if (const auto* r = std::get_if<flight::Refusal>(&flown)) {
    verdict = refused(*r);
  } else {
    verdict = judge(std::get<flight::Outcome>(flown), elapsed, settings_.timing);
  }
  if (verdict) {
    if (!store_.take(tokenText, nullptr).taken) {
      verdict = refused(Why::UsedToken);
    }
    refuse(res, *verdict);
    return;
  }
  const NewFlight flight{std::get<std::string>(name), std::get<flight::Outcome>(flown).distance,
                         nowMs(), *bytes};
  const Taken taken = store_.take(tokenText, &flight);
  if (!taken.taken || !taken.placed) {
    refuse(res, refused(Why::UsedToken));
    return;
  }
  top_.placed();
  answer(res, 201,
         json{{"id", std::to_string(taken.placed->id)},
              {"distance", flight.distance},
              {"rank", taken.placed->rank}});
}

}  // namespace pirune::server
