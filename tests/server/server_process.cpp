#include "server_process.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pwd.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <pqxx/pqxx>
#include <stdexcept>
#include <thread>

namespace pirune::testing {
namespace {

using Clock = std::chrono::steady_clock;

// A server that turns a body away unread closes while the client may still be writing.
const bool kWritesMayFail = [] {
  std::signal(SIGPIPE, SIG_IGN);
  return true;
}();

// `out` takes the program's output; `log` its errors too. A process of the tests goes when
// the tests go, even when they crash.
pid_t spawn(const std::vector<std::string>& args, int out, bool log = false) {
  const pid_t pid = fork();
  if (pid == 0) {
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (out >= 0) {
      dup2(out, STDOUT_FILENO);
      if (log) {
        dup2(out, STDERR_FILENO);
      }
    }
    std::vector<char*> argv;
    argv.reserve(args.size() + 1);
    for (const auto& a : args) {
      argv.push_back(const_cast<char*>(a.c_str()));
    }
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  return pid;
}

// Waits for the process to end, at most `limit`; its status, or none while it still runs.
std::optional<int> reap(pid_t pid, std::chrono::seconds limit) {
  const auto deadline = Clock::now() + limit;
  int status = 0;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (Clock::now() > deadline) {
      return std::nullopt;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

ServerProcess::ServerProcess(std::vector<std::string> args) {
  args.insert(args.begin(), PIRUNE_SERVER_PROGRAM);
  args.insert(args.end(), {"--listen", "127.0.0.1:0"});
  int pipe[2];
  if (::pipe(pipe) != 0) {
    throw std::runtime_error("pipe");
  }
  pid_ = spawn(args, pipe[1]);
  close(pipe[1]);
  // The server says its port once it listens.
  std::string line;
  const auto deadline = Clock::now() + std::chrono::seconds(30);
  while (line.find('\n') == std::string::npos && Clock::now() < deadline) {
    pollfd p{pipe[0], POLLIN, 0};
    if (poll(&p, 1, 1000) > 0) {
      char buffer[256];
      const ssize_t n = read(pipe[0], buffer, sizeof buffer);
      if (n <= 0) {
        break;
      }
      line.append(buffer, static_cast<std::size_t>(n));
    }
  }
  close(pipe[0]);
  const auto at = line.rfind(':');
  if (at == std::string::npos || line.find("listening") == std::string::npos) {
    kill9();
    throw std::runtime_error("pirune-server did not start: " + line);
  }
  port_ = std::atoi(line.c_str() + at + 1);
}

ServerProcess::~ServerProcess() {
  if (pid_ > 0) {
    stop();
  }
}

std::unique_ptr<httplib::Client> ServerProcess::client(const std::string& from) const {
  auto c = std::make_unique<httplib::Client>("127.0.0.1", port_);
  c->set_read_timeout(30);
  if (!from.empty()) {
    // Another address of the loopback: the server sees a second player.
    c->set_socket_options([from](int sock) {
      sockaddr_in a{};
      a.sin_family = AF_INET;
      inet_pton(AF_INET, from.c_str(), &a.sin_addr);
      if (bind(sock, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        throw std::runtime_error("bind " + from);
      }
    });
  }
  return c;
}

int ServerProcess::stop() {
  kill(pid_, SIGTERM);
  const auto status = reap(pid_, std::chrono::seconds(30));
  if (!status) {
    kill9();
    return -2;
  }
  pid_ = -1;
  return *status;
}

void ServerProcess::kill9() {
  kill(pid_, SIGKILL);
  reap(pid_, std::chrono::seconds(30));
  pid_ = -1;
}

Postgres* Postgres::instance() {
  if (geteuid() != 0) {
    return nullptr;
  }
  static Postgres postgres;
  return &postgres;
}

Postgres::Postgres() {
  std::string dir = "/tmp/pirune-pg-XXXXXX";
  if (mkdtemp(dir.data()) == nullptr) {
    throw std::runtime_error("mkdtemp");
  }
  dir_ = dir;
  const passwd* pg = getpwnam("postgres");
  if (pg == nullptr || chown(dir_.c_str(), pg->pw_uid, pg->pw_gid) != 0) {
    throw std::runtime_error("no postgres user");
  }
  const std::string bin = "/usr/lib/postgresql/15/bin/";
  const pid_t init = spawn({"/usr/sbin/runuser", "-u", "postgres", "--", bin + "initdb", "-D",
                            dir_ + "/data", "-A", "trust", "-U", "postgres", "--no-sync"},
                           open("/dev/null", O_WRONLY), true);
  if (reap(init, std::chrono::seconds(60)) != 0) {
    throw std::runtime_error("initdb failed");
  }
  pid_ = spawn({"/usr/sbin/runuser", "-u", "postgres", "--", bin + "postgres", "-D", dir_ + "/data",
                "-k", dir_, "-p", "5432", "-c", "listen_addresses=", "-c", "max_connections=200"},
               open((dir_ + "/log").c_str(), O_WRONLY | O_CREAT, 0600), true);
  const auto deadline = Clock::now() + std::chrono::seconds(30);
  for (;;) {
    const pid_t ready =
        spawn({bin + "pg_isready", "-q", "-h", dir_, "-p", "5432", "-U", "postgres"}, -1);
    if (reap(ready, std::chrono::seconds(10)) == 0) {
      break;
    }
    if (Clock::now() > deadline) {
      throw std::runtime_error("postgres did not start");
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

Postgres::~Postgres() {
  // The postmaster itself (its pid is the first line of its file) shuts down fast on SIGINT.
  std::ifstream pidFile(dir_ + "/data/postmaster.pid");
  pid_t postmaster = 0;
  if (pidFile >> postmaster && postmaster > 0) {
    kill(postmaster, SIGINT);
  }
  reap(pid_, std::chrono::seconds(30));
  std::filesystem::remove_all(dir_);
}

std::string Postgres::newDatabase() {
  const std::string base = "postgresql:///postgres?host=" + dir_ + "&port=5432&user=postgres";
  const std::string name = "ranking" + std::to_string(++made_);
  pqxx::connection c(base);
  pqxx::nontransaction n(c);
  n.exec("CREATE DATABASE " + name);
  return "postgresql:///" + name + "?host=" + dir_ + "&port=5432&user=postgres";
}

}  // namespace pirune::testing
