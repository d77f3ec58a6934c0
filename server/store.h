#pragma once
// Where the world ranking lives: its flights and the tokens handed out when flights began.
// The server keeps nothing else, so any number of servers on one database share one ranking.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace pirune::server {

struct Token {
  std::int64_t issuedMs = 0;  // the server's clock, in milliseconds since 1970
  bool used = false;
};

struct NewFlight {
  std::string name;  // UTF-8, as scr.dat keeps it
  int distance = 0;
  std::int64_t atMs = 0;
  std::string record;  // the record's bytes, as sent
};

struct RankedFlight {
  std::int64_t id = 0;
  std::string name;
  int distance = 0;
  std::int64_t atMs = 0;
};

struct Placed {
  std::int64_t id = 0;
  std::int64_t rank = 0;
};

// What taking a token gave: nothing when another submission took it first.
struct Taken {
  bool taken = false;
  std::optional<Placed> placed;  // the flight stored with it, when there was one
};

class Store {
 public:
  Store() = default;
  Store(const Store&) = delete;
  Store& operator=(const Store&) = delete;
  Store(Store&&) = delete;
  Store& operator=(Store&&) = delete;
  virtual ~Store() = default;

  virtual void addToken(const std::string& token, std::int64_t issuedMs) = 0;
  [[nodiscard]] virtual std::optional<Token> findToken(const std::string& token) = 0;
  // Marks the token used and, in the same transaction, stores the flight if there is one: a
  // token counts once, whoever else sends it at the same moment.
  virtual Taken take(const std::string& token, const NewFlight* flight) = 0;
  // Tokens issued before `ms` will never count again; they only take room.
  virtual void forgetTokens(std::int64_t beforeMs) = 0;
  // By distance, the earlier flight first among equals.
  [[nodiscard]] virtual std::vector<RankedFlight> ranking(int limit) = 0;
  [[nodiscard]] virtual std::optional<std::string> record(std::int64_t id) = 0;
  [[nodiscard]] virtual bool healthy() = 0;
};

// A postgresql:// (or postgres://) address opens PostgreSQL; anything else is a SQLite file.
std::unique_ptr<Store> openStore(const std::string& data, int connections);

std::unique_ptr<Store> openSqlite(const std::string& path, int connections);
std::unique_ptr<Store> openPostgres(const std::string& address, int connections);

}  // namespace pirune::server
