// The world ranking as a player, a forger and a crash see it: real pirune-server processes on
// 127.0.0.1, on a SQLite file and on a PostgreSQL of their own, sent the game's real flights.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <thread>

#include "flight/flight_player.h"
#include "server_process.h"
#include "verdict.h"

namespace pirune::testing {
namespace {

using nlohmann::json;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

std::string flightFile(const char* name) {
  return readFile(fs::path(PIRUNE_TEST_FLIGHTS) / (std::string(name) + ".pflight"));
}

flight::Outcome flown(const std::string& bytes) {
  return std::get<flight::Outcome>(flight::reflight(bytes));
}

// The endless flight stopped by a fresh start before it passed 30.
std::string shortEndless() {
  auto record = std::get<flight::Record>(flight::decode(flightFile("endless")));
  record.rankedName.clear();
  record.rankedDistance = 0;
  record.stop = flight::Stop::NewGame;
  record.stopAt = 0;
  while (!record.events.empty()) {
    record.events.pop_back();
    const auto o = flight::reflight(flight::encode(record));
    if (const auto* out = std::get_if<flight::Outcome>(&o); out && out->distance <= 30) {
      return flight::encode(record);
    }
  }
  return {};
}

struct Answer {
  int status = 0;
  json body;
};

Answer ask(httplib::Client& c, const std::string& path, const std::string& body = "") {
  auto r =
      path.starts_with("GET ") ? c.Get(path.substr(4)) : c.Post(path, body, "application/json");
  if (!r) {
    return {};
  }
  return {r->status, json::parse(r->body, nullptr, false)};
}

std::string token(httplib::Client& c) {
  const Answer a = ask(c, "/api/flights/start");
  EXPECT_EQ(a.status, 200);
  return a.status == 200 ? a.body.value("token", "") : "";
}

Answer send(httplib::Client& c, const std::string& tok, const std::string& name,
            const std::string& bytes) {
  return ask(c, "/api/flights",
             json{{"token", tok}, {"name", name}, {"record", server::toBase64(bytes)}}.dump());
}

// Leeway enough that a 46-second flight may be sent at once; limits no test reaches.
const std::vector<std::string> kEasy{"--leeway-ms", "60000",        "--start-limit",
                                     "100000",      "--send-limit", "100000"};

std::vector<std::string> with(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// Each test on a fresh ranking: a SQLite file in a folder of its own, or a new PostgreSQL
// database.
class Ranking : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("pirune-server-" + std::to_string(getpid()));
    fs::create_directories(dir_);
    if (std::string(GetParam()) == "sqlite") {
      data_ = (dir_ / "ranking.sqlite").string();
    } else if (Postgres* pg = Postgres::instance()) {
      data_ = pg->newDatabase();
    } else {
      GTEST_SKIP() << "PostgreSQL is started as root only";
    }
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::vector<std::string> args(const std::vector<std::string>& more = kEasy) const {
    return with({"--data", data_}, more);
  }

  fs::path dir_;
  std::string data_;
};

TEST_P(Ranking, FlightsCountWithTheServersDistanceAndRankAndComeBackWhole) {
  ServerProcess server(args());
  auto c = server.client();
  const std::string endless = flightFile("endless");
  auto edited = endless;
  // The ranked distance the record claims, at its very end, raised to the star.
  edited[edited.size() - 2] = static_cast<char>(0x30);
  edited[edited.size() - 1] = static_cast<char>(0x75);
  const Answer first = send(*c, token(*c), "ピルネ", endless);
  ASSERT_EQ(first.status, 201) << first.body;
  EXPECT_EQ(first.body["distance"], flown(endless).distance);
  EXPECT_EQ(first.body["rank"], 1);
  const Answer second = send(*c, token(*c), "とても長い名前のピルネ", edited);
  ASSERT_EQ(second.status, 201) << second.body;
  EXPECT_EQ(second.body["distance"], flown(endless).distance);
  EXPECT_EQ(second.body["rank"], 2);  // as far, but later

  const Answer list = ask(*c, "GET /api/ranking?limit=10");
  ASSERT_EQ(list.status, 200);
  ASSERT_EQ(list.body.size(), 2U);
  EXPECT_EQ(list.body[0]["id"], first.body["id"]);
  EXPECT_EQ(list.body[0]["name"], "ピルネ");
  // scr.dat's ten bytes of code page 932: five double-byte characters.
  EXPECT_EQ(list.body[1]["name"], "とても長い");
  EXPECT_EQ(list.body[1]["rank"], 2);
  EXPECT_EQ(list.body[1]["when"].get<std::string>().size(), 20U);
  const auto back = c->Get("/api/flights/" + list.body[1]["id"].get<std::string>());
  ASSERT_TRUE(back);
  EXPECT_EQ(back->get_header_value("Content-Type"), "application/octet-stream");
  EXPECT_EQ(back->body, edited);
  EXPECT_EQ(ask(*c, "GET /api/flights/999999").status, 404);
  EXPECT_EQ(ask(*c, "GET /api/ranking?limit=101").status, 400);
  EXPECT_EQ(ask(*c, "GET /api/health").status, 200);
  EXPECT_EQ(server.stop(), 0);
}

TEST_P(Ranking, ForgeriesAndMistakesAreRefusedWithTheirReasons) {
  ServerProcess server(args());
  auto c = server.client();
  const std::string endless = flightFile("endless");
  const struct {
    const char* what;
    std::string record;
    std::string name;
    int status;
    const char* reason;
  } cases[] = {
      {"a flight to the goal", flightFile("goal"), "a", 422, "not_endless"},
      {"a flight whose wings melted", flightFile("wings"), "a", 422, "not_endless"},
      {"an endless flight short of 30", shortEndless(), "a", 422, "not_past_30"},
      {"a record cut short", endless.substr(0, endless.size() / 2), "a", 422, "cut_short"},
      {"not a record", "hello, ranking", "a", 422, "not_a_record"},
      {"a name with a control character", endless, "ピル\x01ネ", 400, "bad_name"},
      {"a name with a line break", endless, "a\nb", 400, "bad_name"},
      {"a name turned right to left", endless,
       "\xE2\x80\xAE"
       "abc",
       400, "bad_name"},
      {"an empty name", endless, "", 400, "empty_name"},
      {"a name of spaces", endless, "   ", 400, "empty_name"},
  };
  for (const auto& k : cases) {
    const Answer a = send(*c, token(*c), k.name, k.record);
    EXPECT_EQ(a.status, k.status) << k.what << ": " << a.body;
    EXPECT_EQ(a.body.value("reason", ""), k.reason) << k.what;
    EXPECT_FALSE(a.body.value("error", "").empty()) << k.what;
  }
  const struct {
    const char* what;
    std::string body;
    int status;
    const char* reason;
  } raw[] = {
      {"not JSON", "{\"token\":", 400, "bad_request"},
      {"no record", json{{"token", token(*c)}, {"name", "a"}}.dump(), 400, "bad_request"},
      {"not base64", json{{"token", token(*c)}, {"name", "a"}, {"record", "!!!!"}}.dump(), 400,
       "bad_base64"},
      {"a token never given",
       json{{"token", std::string(32, 'a')}, {"name", "a"}, {"record", server::toBase64(endless)}}
           .dump(),
       403, "unknown_token"},
  };
  for (const auto& k : raw) {
    const Answer a = ask(*c, "/api/flights", k.body);
    EXPECT_EQ(a.status, k.status) << k.what;
    EXPECT_EQ(a.body.value("reason", ""), k.reason) << k.what;
  }
  EXPECT_EQ(ask(*c, "GET /api/ranking").body.size(), 0U);
}

TEST_P(Ranking, AnEditedRecordCountsOnlyWhatItsReflightGives) {
  ServerProcess server(args());
  auto c = server.client();
  const std::string endless = flightFile("endless");
  int counted = 0;
  for (std::size_t at = 41; at < endless.size(); at += 37) {
    std::string edited = endless;
    edited[at] = static_cast<char>(edited[at] ^ 0x04);
    const Answer a = send(*c, token(*c), "edit", edited);
    const auto again = flight::reflight(edited);
    if (const auto* refusal = std::get_if<flight::Refusal>(&again)) {
      EXPECT_EQ(a.status, 422) << "byte " << at;
      EXPECT_EQ(a.body.value("reason", ""), flight::reasonWord(refusal->reason)) << "byte " << at;
    } else if (a.status == 201) {
      ++counted;
      EXPECT_EQ(a.body["distance"], std::get<flight::Outcome>(again).distance) << "byte " << at;
    } else {
      EXPECT_EQ(a.status, 422) << "byte " << at << ": " << a.body;
      EXPECT_LE(std::get<flight::Outcome>(again).distance, 30) << "byte " << at;
    }
  }
  EXPECT_GT(counted, 0);
}

TEST_P(Ranking, OneTokenCountsOnceEvenSentAtOnce) {
  ServerProcess server(args());
  auto c = server.client();
  const std::string endless = flightFile("endless");
  const std::string tok = token(*c);
  std::vector<std::thread> senders;
  senders.reserve(6);
  std::map<int, int> statuses;
  std::mutex m;
  for (int n = 0; n < 6; ++n) {
    senders.emplace_back([&] {
      auto mine = server.client();
      const Answer a = send(*mine, tok, "twice", endless);
      const std::lock_guard lock(m);
      ++statuses[a.status];
    });
  }
  for (auto& t : senders) {
    t.join();
  }
  EXPECT_EQ(statuses[201], 1);
  EXPECT_EQ(statuses[409], 5);
  EXPECT_EQ(send(*c, tok, "again", endless).body.value("reason", ""), "used_token");
  EXPECT_EQ(ask(*c, "GET /api/ranking").body.size(), 1U);
}

TEST_P(Ranking, ConcurrentFlightsAreAllKeptAndSurviveAKillAndARestart) {
  const std::string endless = flightFile("endless");
  std::set<std::string> acknowledged;
  {
    ServerProcess server(args());
    std::mutex m;
    std::atomic<bool> killed = false;
    std::vector<std::thread> players;
    players.reserve(4);
    for (int n = 0; n < 4; ++n) {
      players.emplace_back([&] {
        auto c = server.client();
        while (!killed) {
          const Answer start = ask(*c, "/api/flights/start");
          if (start.status != 200) {
            return;
          }
          const Answer a = send(*c, start.body.value("token", ""), "load", endless);
          if (a.status != 201) {
            return;
          }
          const std::lock_guard lock(m);
          acknowledged.insert(a.body["id"].get<std::string>());
        }
      });
    }
    // Under load: killed once enough flights were acknowledged, whatever is on its way.
    const auto deadline = Clock::now() + std::chrono::seconds(60);
    for (;;) {
      {
        const std::lock_guard lock(m);
        if (acknowledged.size() >= 40 || Clock::now() > deadline) {
          break;
        }
      }
      std::this_thread::yield();
    }
    server.kill9();
    killed = true;
    for (auto& t : players) {
      t.join();
    }
  }
  ASSERT_GE(acknowledged.size(), 40U);
  ServerProcess again(args());
  auto c = again.client();
  const Answer list = ask(*c, "GET /api/ranking?limit=100");
  std::set<std::string> listed;
  for (const auto& f : list.body) {
    listed.insert(f["id"].get<std::string>());
  }
  for (const auto& id : acknowledged) {
    EXPECT_TRUE(listed.contains(id) || acknowledged.size() > 100) << id;
    const auto back = c->Get("/api/flights/" + id);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->status, 200) << id;
    EXPECT_EQ(back->body, endless) << id;
  }
}

INSTANTIATE_TEST_SUITE_P(Databases, Ranking, ::testing::Values("sqlite", "postgres"),
                         [](const auto& info) { return std::string(info.param); });

class Postgresql : public Ranking {};

TEST_P(Postgresql, TwoServersShareOneRanking) {
  ServerProcess a(args());
  ServerProcess b(args());
  auto ca = a.client();
  auto cb = b.client();
  const std::string endless = flightFile("endless");
  // A token from one server counts on the other: they keep nothing but the database.
  const Answer viaB = send(*cb, token(*ca), "B", endless);
  ASSERT_EQ(viaB.status, 201) << viaB.body;
  const Answer viaA = send(*ca, token(*cb), "A", endless);
  ASSERT_EQ(viaA.status, 201) << viaA.body;
  for (auto* c : {ca.get(), cb.get()}) {
    const Answer list = ask(*c, "GET /api/ranking");
    ASSERT_EQ(list.body.size(), 2U);
    EXPECT_EQ(list.body[0]["name"], "B");
    EXPECT_EQ(list.body[1]["name"], "A");
  }
}

INSTANTIATE_TEST_SUITE_P(Databases, Postgresql, ::testing::Values("postgres"),
                         [](const auto& info) { return std::string(info.param); });

class Sqlite : public Ranking {};

TEST_P(Sqlite, TheServerTimesTheFlightFromItsToken) {
  const std::string endless = flightFile("endless");
  const std::int64_t duration = flown(endless).durationMs;
  // The flight may come 1.5 s after its token; sooner is a flight played faster than it was
  // flown. Tokens live 3 s here.
  const std::int64_t wait = 1500;
  ServerProcess server(
      args({"--leeway-ms", std::to_string(duration - wait), "--token-life-s", "3"}));
  auto c = server.client();
  const Answer fast = send(*c, token(*c), "fast", endless);
  EXPECT_EQ(fast.status, 422);
  EXPECT_EQ(fast.body.value("reason", ""), "too_fast");
  const std::string tok = token(*c);
  const auto issued = Clock::now();
  std::this_thread::sleep_until(issued + std::chrono::milliseconds(wait + 100));
  const Answer inTime = send(*c, tok, "in time", endless);
  EXPECT_EQ(inTime.status, 201) << inTime.body;
  const std::string old = token(*c);
  std::this_thread::sleep_until(Clock::now() + std::chrono::milliseconds(3100));
  const Answer expired = send(*c, old, "late", endless);
  EXPECT_EQ(expired.status, 410);
  EXPECT_EQ(expired.body.value("reason", ""), "expired_token");
}

TEST_P(Sqlite, LargeBodiesAndBusyAddressesAreTurnedAway) {
  ServerProcess server(args({"--start-limit", "3", "--send-limit", "2"}));
  auto c = server.client();
  const auto large = c->Post("/api/flights", std::string(70'000, 'x'), "application/json");
  ASSERT_TRUE(large);
  EXPECT_EQ(large->status, 413);
  EXPECT_EQ(json::parse(large->body, nullptr, false).value("reason", ""), "too_large");
  for (int n = 0; n < 3; ++n) {
    EXPECT_EQ(ask(*c, "/api/flights/start").status, 200);
  }
  const Answer busy = ask(*c, "/api/flights/start");
  EXPECT_EQ(busy.status, 429);
  EXPECT_EQ(busy.body.value("reason", ""), "too_many");
  auto other = server.client("127.0.0.2");
  EXPECT_EQ(ask(*other, "/api/flights/start").status, 200);
  // A body turned away unread spends nothing of an address's sends.
  EXPECT_EQ(ask(*c, "/api/flights", "{}").status, 400);
  EXPECT_EQ(ask(*c, "/api/flights", "{}").status, 400);
  EXPECT_EQ(ask(*c, "/api/flights", "{}").status, 429);
  EXPECT_EQ(ask(*other, "/api/flights", "{}").status, 400);
}

TEST_P(Sqlite, TheSiteIsServedWithItsTypesAndNothingBesideIt) {
  const fs::path site = dir_ / "site";
  fs::create_directories(site);
  const std::map<std::string, std::string> files{
      {"index.html", "<!doctype html>"}, {"boot.js", "export {};"}, {"pirune.wasm", "\0asm"},
      {"manifest.webmanifest", "{}"},    {"style.css", "body{}"},   {"stt.webp", "RIFF"}};
  for (const auto& [name, text] : files) {
    std::ofstream(site / name) << text;
  }
  std::ofstream(dir_ / "secret.txt") << "not for players";
  ServerProcess server(args({"--site", site.string()}));
  auto c = server.client();
  const struct {
    const char* path;
    int status;
    const char* type;
  } cases[] = {
      {"/", 200, "text/html; charset=utf-8"},
      {"/boot.js", 200, "text/javascript; charset=utf-8"},
      {"/pirune.wasm", 200, "application/wasm"},
      {"/manifest.webmanifest", 200, "application/manifest+json"},
      {"/style.css", 200, "text/css; charset=utf-8"},
      {"/stt.webp", 200, "image/webp"},
      {"/../secret.txt", 404, "application/json"},
      {"/%2e%2e/secret.txt", 404, "application/json"},
      {"/api/ranking", 200, "application/json"},
      {"/nothing.js", 404, "application/json"},
  };
  for (const auto& k : cases) {
    const auto r = c->Get(k.path);
    ASSERT_TRUE(r) << k.path;
    EXPECT_EQ(r->status, k.status) << k.path;
    EXPECT_EQ(r->get_header_value("Content-Type"), k.type) << k.path;
    EXPECT_EQ(r->get_header_value("X-Content-Type-Options"), "nosniff") << k.path;
    EXPECT_NE(r->get_header_value("Content-Security-Policy")
                  .find("script-src 'self' "
                        "'wasm-unsafe-eval'"),
              std::string::npos)
        << k.path;
    EXPECT_EQ(r->body.find("not for players"), std::string::npos) << k.path;
  }
}

INSTANTIATE_TEST_SUITE_P(Databases, Sqlite, ::testing::Values("sqlite"),
                         [](const auto& info) { return std::string(info.param); });

}  // namespace
}  // namespace pirune::testing
