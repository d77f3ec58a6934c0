// The world ranking in one SQLite file: write-ahead log with a full sync at every commit, so a
// flight once acknowledged survives a crash of the server or of the machine.

#include <sqlite3.h>

#include <array>
#include <mutex>
#include <stdexcept>
#include <string>

#include "pool.h"
#include "store.h"

namespace pirune::server {
namespace {

constexpr int kBusyTimeoutMs = 10'000;

constexpr const char* kSchema = R"(
CREATE TABLE IF NOT EXISTS tokens (
  token TEXT PRIMARY KEY,
  issued_ms INTEGER NOT NULL,
  used INTEGER NOT NULL DEFAULT 0);
CREATE INDEX IF NOT EXISTS tokens_by_age ON tokens (issued_ms);
CREATE TABLE IF NOT EXISTS flights (
  id INTEGER PRIMARY KEY,
  name TEXT NOT NULL,
  distance INTEGER NOT NULL,
  at_ms INTEGER NOT NULL,
  record BLOB NOT NULL);
CREATE INDEX IF NOT EXISTS flights_by_rank ON flights (distance DESC, at_ms, id);
)";

enum Statement : std::size_t {
  kAddToken,
  kFindToken,
  kTakeToken,
  kAddFlight,
  kRankOf,
  kForget,
  kRanking,
  kRecord,
  kHealth,
  kBegin,
  kCommit,
  kRollback,
  kStatementCount
};

constexpr std::array<const char*, kStatementCount> kSql{
    "INSERT INTO tokens (token, issued_ms) VALUES (?1, ?2)",
    "SELECT issued_ms, used FROM tokens WHERE token = ?1",
    "UPDATE tokens SET used = 1 WHERE token = ?1 AND used = 0",
    "INSERT INTO flights (name, distance, at_ms, record) VALUES (?1, ?2, ?3, ?4)",
    "SELECT (SELECT COUNT(*) FROM flights WHERE distance > ?1) + (SELECT COUNT(*) FROM flights "
    "WHERE distance = ?1 AND (at_ms, id) < (?2, ?3)) + 1",
    "DELETE FROM tokens WHERE issued_ms < ?1",
    "SELECT id, name, distance, at_ms FROM flights ORDER BY distance DESC, at_ms, id LIMIT ?1",
    "SELECT record FROM flights WHERE id = ?1",
    "SELECT 1",
    "BEGIN IMMEDIATE",
    "COMMIT",
    "ROLLBACK",
};

// The database's own message stays in the server's log; no answer carries it.
[[noreturn]] void fail(sqlite3* db, const char* what) {
  throw std::runtime_error(std::string("sqlite: ") + what + ": " + sqlite3_errmsg(db));
}

class Connection {
 public:
  explicit Connection(const std::string& path) {
    if (sqlite3_open_v2(path.c_str(), &db_,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                        nullptr) != SQLITE_OK) {
      const std::string message = db_ ? sqlite3_errmsg(db_) : "out of memory";
      sqlite3_close(db_);
      throw std::runtime_error("sqlite: open " + path + ": " + message);
    }
    sqlite3_busy_timeout(db_, kBusyTimeoutMs);
    run("PRAGMA journal_mode = WAL");
    run("PRAGMA synchronous = FULL");
    run(kSchema);
    for (std::size_t n = 0; n < kStatementCount; ++n) {
      if (sqlite3_prepare_v3(db_, kSql.at(n), -1, SQLITE_PREPARE_PERSISTENT, &statements_.at(n),
                             nullptr) != SQLITE_OK) {
        fail(db_, "prepare");
      }
    }
  }
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;
  Connection(Connection&&) = delete;
  Connection& operator=(Connection&&) = delete;
  ~Connection() {
    for (sqlite3_stmt* s : statements_) {
      sqlite3_finalize(s);
    }
    sqlite3_close(db_);
  }

  // Only for the schema and the pragmas, which take no values.
  void run(const char* sql) {
    if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK) {
      fail(db_, "exec");
    }
  }

  // A prepared statement, reset and cleared for its next values when `use` ends.
  class Use {
   public:
    Use(sqlite3* db, sqlite3_stmt* s) : db_(db), s_(s) {}
    Use(const Use&) = delete;
    Use& operator=(const Use&) = delete;
    Use(Use&&) = delete;
    Use& operator=(Use&&) = delete;
    ~Use() {
      sqlite3_reset(s_);
      sqlite3_clear_bindings(s_);
    }
    Use& bind(int n, std::int64_t v) {
      check(sqlite3_bind_int64(s_, n, v));
      return *this;
    }
    Use& bind(int n, const std::string& v) {
      check(sqlite3_bind_text(s_, n, v.data(), static_cast<int>(v.size()), SQLITE_STATIC));
      return *this;
    }
    Use& bindBlob(int n, const std::string& v) {
      check(sqlite3_bind_blob(s_, n, v.data(), static_cast<int>(v.size()), SQLITE_STATIC));
      return *this;
    }
    // True while there is a row.
    bool step() {
      const int rc = sqlite3_step(s_);
      if (rc == SQLITE_ROW) {
        return true;
      }
      if (rc != SQLITE_DONE) {
        fail(db_, "step");
      }
      return false;
    }
    [[nodiscard]] std::int64_t integer(int column) const {
      return sqlite3_column_int64(s_, column);
    }
    [[nodiscard]] std::string bytes(int column) const {
      const auto* data = static_cast<const char*>(sqlite3_column_blob(s_, column));
      return {data ? data : "", static_cast<std::size_t>(sqlite3_column_bytes(s_, column))};
    }
    [[nodiscard]] int changes() const { return sqlite3_changes(db_); }
    [[nodiscard]] std::int64_t lastId() const { return sqlite3_last_insert_rowid(db_); }

   private:
    void check(int rc) const {
      if (rc != SQLITE_OK) {
        fail(db_, "bind");
      }
    }
    sqlite3* db_;
    sqlite3_stmt* s_;
  };

  Use use(Statement s) { return {db_, statements_.at(s)}; }
  void once(Statement s) {
    Use u = use(s);
    u.step();
  }

 private:
  sqlite3* db_ = nullptr;
  std::array<sqlite3_stmt*, kStatementCount> statements_{};
};

class SqliteStore final : public Store {
 public:
  SqliteStore(const std::string& path, int connections)
      : pool_(connections, [path] { return std::make_unique<Connection>(path); }) {
    // The file is opened, made and checked now, not at the first request.
    pool_.with([](Connection&) { return 0; });
  }

  void addToken(const std::string& token, std::int64_t issuedMs) override {
    const std::lock_guard turn(writing_);
    pool_.with([&](Connection& c) {
      c.use(kAddToken).bind(1, token).bind(2, issuedMs).step();
      return 0;
    });
  }

  std::optional<Token> findToken(const std::string& token) override {
    return pool_.with([&](Connection& c) -> std::optional<Token> {
      auto u = c.use(kFindToken);
      if (!u.bind(1, token).step()) {
        return std::nullopt;
      }
      return Token{u.integer(0), u.integer(1) != 0};
    });
  }

  Taken take(const std::string& token, const NewFlight* flight) override {
    const std::lock_guard turn(writing_);
    return pool_.with([&](Connection& c) {
      c.once(kBegin);
      try {
        Taken taken = takeIn(c, token, flight);
        c.once(taken.taken ? kCommit : kRollback);
        return taken;
      } catch (...) {
        // SQLite may have rolled back already; the connection is dropped either way.
        try {
          c.once(kRollback);
        } catch (const std::exception&) {
        }
        throw;
      }
    });
  }

  void forgetTokens(std::int64_t beforeMs) override {
    const std::lock_guard turn(writing_);
    pool_.with([&](Connection& c) {
      c.use(kForget).bind(1, beforeMs).step();
      return 0;
    });
  }

  std::vector<RankedFlight> ranking(int limit) override {
    return pool_.with([&](Connection& c) {
      std::vector<RankedFlight> flights;
      auto u = c.use(kRanking);
      u.bind(1, std::int64_t{limit});
      while (u.step()) {
        flights.push_back({u.integer(0), u.bytes(1), static_cast<int>(u.integer(2)), u.integer(3)});
      }
      return flights;
    });
  }

  std::optional<std::string> record(std::int64_t id) override {
    return pool_.with([&](Connection& c) -> std::optional<std::string> {
      auto u = c.use(kRecord);
      if (!u.bind(1, id).step()) {
        return std::nullopt;
      }
      return u.bytes(0);
    });
  }

  bool healthy() override {
    try {
      return pool_.with([](Connection& c) { return c.use(kHealth).step(); });
    } catch (const std::exception&) {
      return false;
    }
  }

 private:
  static Taken takeIn(Connection& c, const std::string& token, const NewFlight* flight) {
    Taken taken;
    {
      auto u = c.use(kTakeToken);
      u.bind(1, token).step();
      taken.taken = u.changes() == 1;
    }
    if (!taken.taken || flight == nullptr) {
      return taken;
    }
    Placed placed;
    {
      auto u = c.use(kAddFlight);
      u.bind(1, flight->name).bind(2, std::int64_t{flight->distance}).bind(3, flight->atMs);
      u.bindBlob(4, flight->record).step();
      placed.id = u.lastId();
    }
    auto u = c.use(kRankOf);
    u.bind(1, std::int64_t{flight->distance}).bind(2, flight->atMs).bind(3, placed.id).step();
    placed.rank = u.integer(0);
    taken.placed = placed;
    return taken;
  }

  Pool<Connection> pool_;
  // One writer at a time, here rather than in SQLite: a writer that finds the file busy sleeps
  // in steps of up to 100 ms, where waiting on this wakes at once; and a writer waiting for its
  // turn holds none of the readers' connections.
  std::mutex writing_;
};

}  // namespace

std::unique_ptr<Store> openSqlite(const std::string& path, int connections) {
  return std::make_unique<SqliteStore>(path, connections);
}

}  // namespace pirune::server
