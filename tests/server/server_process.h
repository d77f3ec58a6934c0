#pragma once
// pirune-server and PostgreSQL as real processes for the tests: started, waited for until they
// answer, stopped, or killed outright.

#include <httplib.h>
#include <sys/types.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace pirune::testing {

class ServerProcess {
 public:
  // Starts pirune-server with `args` and --listen 127.0.0.1:0, and waits for its port.
  explicit ServerProcess(std::vector<std::string> args);
  ServerProcess(const ServerProcess&) = delete;
  ServerProcess& operator=(const ServerProcess&) = delete;
  ServerProcess(ServerProcess&&) = delete;
  ServerProcess& operator=(ServerProcess&&) = delete;
  ~ServerProcess() { stop(); }

  // A client on 127.0.0.1, or from `from` (another loopback address).
  [[nodiscard]] std::unique_ptr<httplib::Client> client(const std::string& from = "") const;
  // SIGTERM, then the exit status once the process is gone (-1 if a signal ended it).
  int stop();
  void kill9();

 private:
  pid_t pid_ = -1;
  int port_ = 0;
};

// A fresh, empty database on a private PostgreSQL 15 cluster run as the postgres user (started
// on first use, stopped at exit): its postgresql:// address; none when not root.
std::optional<std::string> newPostgresDatabase();

}  // namespace pirune::testing
