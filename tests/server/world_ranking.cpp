// The world ranking as a player, a forger and a crash see it: real pirune-server processes on
// 127.0.0.1, on a SQLite file and on a PostgreSQL of their own, sent the game's real flights.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <map>
#include <mutex>
#include <nlohmann/json.hpp>
#include <set>
#include <thread>
#include <tuple>
#include <utility>

#include "flight/flight_player.h"
#include "server_process.h"
#include "verdict.h"

namespace pirune::testing {
namespace {

using nlohmann::json;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

std::string flightFile(const std::string& name) {
  std::ifstream in(fs::path(PIRUNE_TEST_FLIGHTS) / (name + ".pflight"), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

struct Answer {
  int status = 0;
  json body;
  // The status and the reason word, as "422 too_fast".
  [[nodiscard]] std::string said() const {
    return std::to_string(status) + " " + (body.is_object() ? body.value("reason", "") : "");
  }
};

// A POST, or a GET when `path` begins "GET "; from 127.0.0.1, or from `from`.
Answer ask(const ServerProcess& s, const std::string& path, const std::string& body = "",
           const std::string& from = "") {
  const auto c = s.client(from);
  auto r =
      path.starts_with("GET ") ? c->Get(path.substr(4)) : c->Post(path, body, "application/json");
  return r ? Answer{r->status, json::parse(r->body, nullptr, false)} : Answer{};
}

std::string token(const ServerProcess& c) {
  const Answer a = ask(c, "/api/flights/start");
  EXPECT_EQ(a.status, 200);
  return a.status == 200 ? a.body.value("token", "") : "";
}

std::string flightBody(const std::string& tok, const std::string& name, const std::string& bytes) {
  return json{{"token", tok}, {"name", name}, {"record", server::toBase64(bytes)}}.dump();
}

// Sent with `tok`, or with a token just asked of `c`.
Answer send(const ServerProcess& c, const std::string& name, const std::string& bytes,
            const std::string& tok = "") {
  return ask(c, "/api/flights", flightBody(tok.empty() ? token(c) : tok, name, bytes));
}

// The status, type and body of a GET, as "200 application/octet-stream <bytes>".
std::string got(const ServerProcess& s, const std::string& path) {
  const auto r = s.client()->Get(path);
  return r ? std::to_string(r->status) + " " + r->get_header_value("Content-Type") + " " + r->body
           : "no answer";
}

// `work` on `n` threads at once; back once all are done.
void together(int n, const std::function<void()>& work) {
  std::vector<std::jthread> threads(n);
  for (auto& t : threads) {
    t = std::jthread(work);
  }
}

// Leeway enough that a 46-second flight may be sent at once; limits no test reaches.
const std::vector<std::string> kEasy{"--leeway-ms", "60000",        "--start-limit",
                                     "100000",      "--send-limit", "100000"};

// Each test on a fresh ranking: a SQLite file in a folder of its own, or a new PostgreSQL
// database.
class Ranking : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    fs::create_directories(dir_);
    if (std::string(GetParam()) == "sqlite") {
      data_ = (dir_ / "ranking.sqlite").string();
    } else {
      data_ = newPostgresDatabase().value_or("");
    }
    if (data_.empty()) {
      GTEST_SKIP() << "PostgreSQL is started as root only";
    }
  }
  void TearDown() override { fs::remove_all(dir_); }
  [[nodiscard]] std::vector<std::string> args(std::vector<std::string> more = kEasy) const {
    more.insert(more.begin(), {"--data", data_});
    return more;
  }

  const fs::path dir_ = fs::temp_directory_path() / ("pirune-server-" + std::to_string(getpid()));
  const std::string endless_ = flightFile("endless");
  const flight::Outcome flown_ = std::get<flight::Outcome>(flight::reflight(endless_));
  std::string data_;
};

TEST_P(Ranking, FlightsCountWithTheServersDistanceAndRankAndComeBackWhole) {
  ServerProcess server(args());
  auto edited = endless_;
  // The ranked distance the record claims, at its very end, raised to the star.
  edited[edited.size() - 2] = static_cast<char>(0x30);
  edited[edited.size() - 1] = static_cast<char>(0x75);
  const Answer first = send(server, "ピルネ", endless_);
  ASSERT_EQ(json({first.status, first.body.value("distance", 0), first.body.value("rank", 0)}),
            json({201, flown_.distance, 1}));
  ASSERT_EQ(ask(server, "GET /api/ranking").body.size(), 1U);
  const Answer second = send(server, "とても長い名前のピルネ", edited);
  // As far, but later.
  ASSERT_EQ(json({second.status, second.body.value("distance", 0), second.body.value("rank", 0)}),
            json({201, flown_.distance, 2}));

  const Answer list = ask(server, "GET /api/ranking?limit=10");
  ASSERT_TRUE(list.status == 200 && list.body.size() == 2) << list.body;
  EXPECT_EQ(list.body[0]["id"], first.body["id"]);
  EXPECT_EQ(list.body[0]["name"], "ピルネ");
  // scr.dat's ten bytes of code page 932: five double-byte characters.
  EXPECT_EQ(list.body[1]["name"], "とても長い");
  EXPECT_EQ(list.body[1]["rank"], 2);
  EXPECT_EQ(list.body[1]["when"].get<std::string>().size(), 20U);
  EXPECT_EQ(got(server, "/api/flights/" + list.body[1]["id"].get<std::string>()),
            "200 application/octet-stream " + edited);
  EXPECT_EQ(ask(server, "GET /api/flights/999999").status, 404);
  EXPECT_EQ(ask(server, "GET /api/ranking?limit=101").status, 400);
  EXPECT_EQ(ask(server, "GET /api/health").status, 200);
  EXPECT_EQ(server.stop(), 0);
}

TEST_P(Ranking, ForgeriesAndMistakesAreRefusedWithTheirReasons) {
  ServerProcess server(args());
  const auto fresh = [&](const std::string& name, const std::string& record) {
    return flightBody(token(server), name, record);
  };
  const std::tuple<const char*, std::string, const char*> cases[] = {
      {"a flight to the goal", fresh("a", flightFile("goal")), "422 not_endless"},
      {"a flight whose wings melted", fresh("a", flightFile("wings")), "422 not_endless"},
      {"an endless flight short of 30", fresh("a", flightFile("short")), "422 not_past_30"},
      {"a record cut short", fresh("a", endless_.substr(0, endless_.size() / 2)), "422 cut_short"},
      {"not a record", fresh("a", "hello, ranking"), "422 not_a_record"},
      {"a name with a control character", fresh("ピル\x01ネ", endless_), "400 bad_name"},
      {"a name with a line break", fresh("a\nb", endless_), "400 bad_name"},
      {"a name turned right to left", fresh("\u202Eabc", endless_), "400 bad_name"},
      {"an empty name", fresh("", endless_), "400 empty_name"},
      {"a name of spaces", fresh("   ", endless_), "400 empty_name"},
      {"not JSON", "{\"token\":", "400 bad_request"},
      {"no record", json{{"token", token(server)}, {"name", "a"}}.dump(), "400 bad_request"},
      {"not base64", json{{"token", token(server)}, {"name", "a"}, {"record", "!!!!"}}.dump(),
       "400 bad_base64"},
      {"a token never given", flightBody(std::string(32, 'a'), "a", endless_), "403 unknown_token"},
  };
  for (const auto& [what, body, said] : cases) {
    const Answer a = ask(server, "/api/flights", body);
    EXPECT_EQ(a.said(), said) << what << ": " << a.body;
    EXPECT_FALSE(a.body.value("error", "").empty()) << what;
  }
  EXPECT_EQ(ask(server, "GET /api/ranking").body.size(), 0U);
}

TEST_P(Ranking, AnEditedRecordCountsOnlyWhatItsReflightGives) {
  ServerProcess server(args());
  int counted = 0;
  for (std::size_t at = 41; at < endless_.size(); at += 37) {
    SCOPED_TRACE("byte " + std::to_string(at));
    std::string edited = endless_;
    edited[at] = static_cast<char>(edited[at] ^ 0x04);
    const Answer a = send(server, "edit", edited);
    const auto again = flight::reflight(edited);
    if (const auto* refusal = std::get_if<flight::Refusal>(&again)) {
      EXPECT_EQ(a.said(), "422 " + std::string(flight::reasonWord(refusal->reason)));
    } else if (a.status == 201) {
      ++counted;
      EXPECT_EQ(a.body["distance"], std::get<flight::Outcome>(again).distance);
    } else {
      EXPECT_EQ(a.status, 422) << a.body;
      EXPECT_LE(std::get<flight::Outcome>(again).distance, 30);
    }
  }
  EXPECT_GT(counted, 0);
}

TEST_P(Ranking, OneTokenCountsOnceEvenSentAtOnce) {
  ServerProcess server(args());
  const std::string tok = token(server);
  std::map<int, int> statuses;
  std::mutex m;
  together(6, [&] {
    const Answer a = send(server, "twice", endless_, tok);
    const std::lock_guard lock(m);
    ++statuses[a.status];
  });
  EXPECT_EQ(statuses, (std::map<int, int>{{201, 1}, {409, 5}}));
  EXPECT_EQ(send(server, "again", endless_, tok).said(), "409 used_token");
  EXPECT_EQ(ask(server, "GET /api/ranking").body.size(), 1U);
}

TEST_P(Ranking, ConcurrentFlightsAreAllKeptAndSurviveAKillAndARestart) {
  ServerProcess server(args());
  std::set<std::string> acknowledged;
  std::mutex m;
  // Players send until the server goes: killed under load once 40 flights were acknowledged,
  // whatever is on its way.
  together(4, [&] {
    for (Answer start; (start = ask(server, "/api/flights/start")).status == 200;) {
      const Answer a = send(server, "load", endless_, start.body.value("token", ""));
      const std::lock_guard lock(m);
      if (a.status != 201) {
        return;
      }
      acknowledged.insert(a.body["id"].get<std::string>());
      if (acknowledged.size() == 40) {
        server.kill9();
      }
    }
  });
  ASSERT_GE(acknowledged.size(), 40U);
  ServerProcess again(args());
  const std::string listed = ask(again, "GET /api/ranking?limit=100").body.dump();
  for (const auto& id : acknowledged) {
    const bool isListed = listed.find("\"id\":\"" + id + '"') != std::string::npos;
    EXPECT_TRUE(isListed || acknowledged.size() > 100) << id;
    EXPECT_EQ(got(again, "/api/flights/" + id), "200 application/octet-stream " + endless_) << id;
  }
}

const auto kName = [](const auto& info) { return std::string(info.param); };
INSTANTIATE_TEST_SUITE_P(Databases, Ranking, ::testing::Values("sqlite", "postgres"), kName);

class Postgresql : public Ranking {};

TEST_P(Postgresql, TwoServersShareOneRanking) {
  ServerProcess a(args());
  ServerProcess b(args());
  ASSERT_EQ(ask(a, "GET /api/ranking").body.size(), 0U);
  // A token from one server counts on the other: they keep nothing but the database.
  ASSERT_EQ(send(b, "B", endless_, token(a)).status, 201);
  ASSERT_EQ(send(a, "A", endless_, token(b)).status, 201);
  // Each lists its own flight at once, and the other's within a second.
  for (const auto* server : {&a, &b}) {
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    Answer list;
    while ((list = ask(*server, "GET /api/ranking")).body.size() < 2 && Clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ASSERT_EQ(list.body.size(), 2U);
    EXPECT_EQ(list.body[0]["name"], "B");
    EXPECT_EQ(list.body[1]["name"], "A");
  }
}

INSTANTIATE_TEST_SUITE_P(Databases, Postgresql, ::testing::Values("postgres"), kName);

class Sqlite : public Ranking {};

TEST_P(Sqlite, TheServerTimesTheFlightFromItsToken) {
  // The flight may come 1.5 s after its token; sooner is a flight played faster than it was
  // flown. Tokens live 3 s here.
  ServerProcess server(
      args({"--leeway-ms", std::to_string(flown_.durationMs - 1500), "--token-life-s", "3"}));
  EXPECT_EQ(send(server, "fast", endless_).said(), "422 too_fast");
  const std::string tok = token(server);
  std::this_thread::sleep_until(Clock::now() + std::chrono::milliseconds(1600));
  EXPECT_EQ(send(server, "in time", endless_, tok).status, 201);
  const std::string old = token(server);
  std::this_thread::sleep_until(Clock::now() + std::chrono::milliseconds(3100));
  EXPECT_EQ(send(server, "late", endless_, old).said(), "410 expired_token");
}

TEST_P(Sqlite, LargeBodiesAndBusyAddressesAreTurnedAway) {
  ServerProcess server(args({"--start-limit", "3", "--send-limit", "2"}));
  EXPECT_EQ(ask(server, "/api/flights", std::string(70'000, 'x')).said(), "413 too_large");
  for (const char* said : {"200 ", "200 ", "200 ", "429 too_many"}) {
    EXPECT_EQ(ask(server, "/api/flights/start").said(), said);
  }
  EXPECT_EQ(ask(server, "/api/flights/start", "", "127.0.0.2").status, 200);
  // A body turned away unread spends nothing of an address's sends.
  for (const char* said : {"400 bad_request", "400 bad_request", "429 too_many"}) {
    EXPECT_EQ(ask(server, "/api/flights", "{}").said(), said);
  }
  EXPECT_EQ(ask(server, "/api/flights", "{}", "127.0.0.2").status, 400);
  // A body in chunks has no length to judge beforehand: it is cut off at the limit.
  const std::string big(70'000, 'x');
  const auto chunked = server.client("127.0.0.3")
                           ->Post(
                               "/api/flights",
                               [&](std::size_t, httplib::DataSink& sink) {
                                 return sink.write(big.data(), big.size()) && (sink.done(), true);
                               },
                               "application/json");
  ASSERT_TRUE(chunked);
  EXPECT_EQ(Answer({chunked->status, json::parse(chunked->body, nullptr, false)}).said(),
            "413 too_large");
}

TEST_P(Sqlite, BehindABalancerEachPlayerHasTheirOwnLimitAndOneOtherPageMayAsk) {
  ServerProcess server(args({"--start-limit", "1", "--trust-proxy", "127.0.0.2", "--allow-origin",
                             "https://pirune.example"}));
  const auto start = [&](const char* from, const char* forwarded) {
    const auto r = server.client(from)->Post("/api/flights/start", {{"X-Forwarded-For", forwarded}},
                                             "", "text/plain");
    return r ? r->status : 0;
  };
  const std::tuple<const char*, const char*, int> starts[] = {
      {"127.0.0.2", "203.0.113.5", 200},
      {"127.0.0.2", "203.0.113.5", 429},
      {"127.0.0.2", "203.0.113.6", 200},
      // What the player wrote before the balancer's own address counts for nothing.
      {"127.0.0.2", "203.0.113.7, 203.0.113.6", 429},
      // Only a trusted balancer is believed.
      {"127.0.0.1", "198.51.100.1", 200},
      {"127.0.0.1", "198.51.100.2", 429},
  };
  for (const auto& [from, forwarded, status] : starts) {
    EXPECT_EQ(start(from, forwarded), status) << from << " for " << forwarded;
  }
  const auto allowed = [&](const char* method, const char* origin) {
    const httplib::Headers headers{{"Origin", origin}, {"Access-Control-Request-Method", "POST"}};
    const auto c = server.client();
    const auto r = std::string(method) == "GET" ? c->Get("/api/ranking", headers)
                                                : c->Options("/api/flights", headers);
    return r ? std::to_string(r->status) + " " + r->get_header_value("Access-Control-Allow-Origin")
             : "no answer";
  };
  EXPECT_EQ(allowed("OPTIONS", "https://pirune.example"), "204 https://pirune.example");
  EXPECT_EQ(allowed("GET", "https://pirune.example"), "200 https://pirune.example");
  EXPECT_EQ(allowed("GET", "https://forger.example"), "200 ");
  EXPECT_NE(allowed("OPTIONS", "https://forger.example").substr(0, 4), "204 ");
}

TEST_P(Sqlite, TheSiteIsServedWithItsTypesAndNothingBesideIt) {
  const fs::path site = dir_ / "site";
  fs::create_directories(site);
  for (const char* name :
       {"index.html", "boot.js", "pirune.wasm", "manifest.webmanifest", "style.css", "stt.webp"}) {
    std::ofstream(site / name) << name;
  }
  std::ofstream(dir_ / "secret.txt") << "not for players";
  ServerProcess server(args({"--site", site.string()}));
  for (const auto& [path, said] : std::initializer_list<std::pair<const char*, const char*>>{
           {"/", "200 text/html; charset=utf-8"},
           {"/boot.js", "200 text/javascript; charset=utf-8"},
           {"/pirune.wasm", "200 application/wasm"},
           {"/manifest.webmanifest", "200 application/manifest+json"},
           {"/style.css", "200 text/css; charset=utf-8"},
           {"/stt.webp", "200 image/webp"},
           {"/../secret.txt", "404 application/json"},
           {"/%2e%2e/secret.txt", "404 application/json"},
           {"/api/ranking", "200 application/json"},
           {"/nothing.js", "404 application/json"}}) {
    const auto r = server.client()->Get(path);
    ASSERT_TRUE(r) << path;
    EXPECT_EQ(std::to_string(r->status) + " " + r->get_header_value("Content-Type"), said);
    EXPECT_EQ(r->get_header_value("X-Content-Type-Options"), "nosniff") << path;
    const auto policy = r->get_header_value("Content-Security-Policy");
    EXPECT_NE(policy.find("script-src 'self' 'wasm-unsafe-eval'"), std::string::npos) << path;
    EXPECT_EQ(r->body.find("not for players"), std::string::npos) << path;
  }
}

INSTANTIATE_TEST_SUITE_P(Databases, Sqlite, ::testing::Values("sqlite"), kName);

TEST(Verdict, AFlightCountsFromItsLengthLessTheLeewayToItsLengthAndTheSlack) {
  const auto flown = std::get<flight::Outcome>(flight::reflight(flightFile("endless")));
  const server::Timing timing{.leewayMs = 3'000, .slackMs = 600'000};
  const std::int64_t length = flown.durationMs;
  const std::pair<std::int64_t, const char*> cases[] = {
      {length - 3'001, "too_fast"}, {length - 3'000, ""},           {length, ""},
      {length + 600'000, ""},       {length + 600'001, "too_late"},
  };
  for (const auto& [elapsed, reason] : cases) {
    const auto verdict = server::judge(flown, elapsed, timing);
    EXPECT_EQ(verdict ? verdict->reason : "", reason) << elapsed - length;
  }
}

}  // namespace
}  // namespace pirune::testing
