// The world ranking in PostgreSQL, for many servers behind one load balancer: the same tables
// as the SQLite file, every change in a transaction, every query prepared.

#include <pqxx/pqxx>
#include <string>

#include "pool.h"
#include "store.h"

namespace pirune::server {
namespace {

// Two servers starting at once both create the tables: the lock makes one wait for the other.
constexpr const char* kSchema = R"(
SELECT pg_advisory_xact_lock(7301);
CREATE TABLE IF NOT EXISTS tokens (
  token TEXT PRIMARY KEY,
  issued_ms BIGINT NOT NULL,
  used BOOLEAN NOT NULL DEFAULT FALSE);
CREATE INDEX IF NOT EXISTS tokens_by_age ON tokens (issued_ms);
CREATE TABLE IF NOT EXISTS flights (
  id BIGINT GENERATED ALWAYS AS IDENTITY PRIMARY KEY,
  name TEXT NOT NULL,
  distance INTEGER NOT NULL,
  at_ms BIGINT NOT NULL,
  record BYTEA NOT NULL);
CREATE INDEX IF NOT EXISTS flights_by_rank ON flights (distance DESC, at_ms, id);
)";

std::unique_ptr<pqxx::connection> connect(const std::string& address) {
  auto c = std::make_unique<pqxx::connection>(address);
  c->prepare("add_token", "INSERT INTO tokens (token, issued_ms) VALUES ($1, $2)");
  c->prepare("find_token", "SELECT issued_ms, used FROM tokens WHERE token = $1");
  c->prepare("take_token", "UPDATE tokens SET used = TRUE WHERE token = $1 AND NOT used");
  c->prepare("add_flight",
             "INSERT INTO flights (name, distance, at_ms, record) VALUES ($1, $2, $3, $4) "
             "RETURNING id");
  c->prepare("rank_of",
             "SELECT (SELECT COUNT(*) FROM flights WHERE distance > $1) + (SELECT COUNT(*) FROM "
             "flights WHERE distance = $1 AND (at_ms, id) < ($2, $3)) + 1");
  c->prepare("forget", "DELETE FROM tokens WHERE issued_ms < $1");
  c->prepare("ranking",
             "SELECT id, name, distance, at_ms FROM flights ORDER BY distance DESC, at_ms, id "
             "LIMIT $1");
  c->prepare("record", "SELECT record FROM flights WHERE id = $1");
  c->prepare("health", "SELECT 1");
  return c;
}

class PostgresStore final : public Store {
 public:
  PostgresStore(const std::string& address, int connections)
      : pool_(connections, [address] { return connect(address); }) {
    pool_.with([](pqxx::connection& c) {
      pqxx::work w(c);
      w.exec(kSchema);
      w.commit();
      return 0;
    });
  }

  void addToken(const std::string& token, std::int64_t issuedMs) override {
    pool_.with([&](pqxx::connection& c) {
      pqxx::work w(c);
      w.exec_prepared("add_token", token, issuedMs);
      w.commit();
      return 0;
    });
  }

  std::optional<Token> findToken(const std::string& token) override {
    return pool_.with([&](pqxx::connection& c) -> std::optional<Token> {
      pqxx::read_transaction r(c);
      const pqxx::result rows = r.exec_prepared("find_token", token);
      if (rows.empty()) {
        return std::nullopt;
      }
      return Token{rows[0][0].as<std::int64_t>(), rows[0][1].as<bool>()};
    });
  }

  Taken take(const std::string& token, const NewFlight* flight) override {
    return pool_.with([&](pqxx::connection& c) {
      pqxx::work w(c);
      Taken taken;
      // The row lock makes a second submission of the same token wait, then find it used.
      taken.taken = w.exec_prepared("take_token", token).affected_rows() == 1;
      if (!taken.taken) {
        return taken;
      }
      if (flight != nullptr) {
        const pqxx::binarystring bytes(flight->record.data(), flight->record.size());
        Placed placed;
        placed.id =
            w.exec_prepared1("add_flight", flight->name, flight->distance, flight->atMs, bytes)[0]
                .as<std::int64_t>();
        placed.rank = w.exec_prepared1("rank_of", flight->distance, flight->atMs, placed.id)[0]
                          .as<std::int64_t>();
        taken.placed = placed;
      }
      w.commit();
      return taken;
    });
  }

  void forgetTokens(std::int64_t beforeMs) override {
    pool_.with([&](pqxx::connection& c) {
      pqxx::work w(c);
      w.exec_prepared("forget", beforeMs);
      w.commit();
      return 0;
    });
  }

  std::vector<RankedFlight> ranking(int limit) override {
    return pool_.with([&](pqxx::connection& c) {
      pqxx::read_transaction r(c);
      std::vector<RankedFlight> flights;
      for (const auto& row : r.exec_prepared("ranking", limit)) {
        flights.push_back({row[0].as<std::int64_t>(), row[1].as<std::string>(), row[2].as<int>(),
                           row[3].as<std::int64_t>()});
      }
      return flights;
    });
  }

  std::optional<std::string> record(std::int64_t id) override {
    return pool_.with([&](pqxx::connection& c) -> std::optional<std::string> {
      pqxx::read_transaction r(c);
      const pqxx::result rows = r.exec_prepared("record", id);
      if (rows.empty()) {
        return std::nullopt;
      }
      return pqxx::binarystring(rows[0][0]).str();
    });
  }

  bool healthy() override {
    try {
      return pool_.with([](pqxx::connection& c) {
        pqxx::read_transaction r(c);
        return r.exec_prepared("health").size() == 1;
      });
    } catch (const std::exception&) {
      return false;
    }
  }

 private:
  Pool<pqxx::connection> pool_;
};

}  // namespace

std::unique_ptr<Store> openPostgres(const std::string& address, int connections) {
  return std::make_unique<PostgresStore>(address, connections);
}

std::unique_ptr<Store> openStore(const std::string& data, int connections) {
  if (data.starts_with("postgresql://") || data.starts_with("postgres://")) {
    return openPostgres(data, connections);
  }
  return openSqlite(data, connections);
}

}  // namespace pirune::server
