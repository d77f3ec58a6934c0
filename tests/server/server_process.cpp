#include "server_process.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <poll.h>
#include <pwd.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <pqxx/pqxx>
#include <stdexcept>
#include <thread>
#include <utility>

namespace pirune::testing {
namespace {

using Clock = std::chrono::steady_clock;

// `out` takes the program's output, and its errors too when `errors`. A process of the tests
// goes when the tests go, even when they crash.
pid_t spawn(std::vector<std::string> args, int out, bool errors) {
  const pid_t pid = fork();
  if (pid == 0) {
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    dup2(out, STDOUT_FILENO);
    dup2(errors ? out : STDERR_FILENO, STDERR_FILENO);
    std::vector<char*> argv(args.size() + 1);
    std::ranges::transform(args, argv.begin(), [](std::string& a) { return a.data(); });
    execv(argv[0], argv.data());
    _exit(127);
  }
  close(out);
  return pid;
}

// Sends `sig` (0: none) and waits for the process to end; its exit status, -1 if a signal
// ended it.
int end(pid_t pid, int sig) {
  int status = 0;
  if (pid <= 0 || kill(pid, sig) != 0 || waitpid(pid, &status, 0) != pid) {
    return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

ServerProcess::ServerProcess(std::vector<std::string> args) {
  // A server that turns a body away unread closes while the client may still be writing.
  std::signal(SIGPIPE, SIG_IGN);
  args.insert(args.begin(), PIRUNE_SERVER_PROGRAM);
  args.insert(args.end(), {"--listen", "127.0.0.1:0"});
  int pipe[2];
  if (::pipe(pipe) != 0) {
    throw std::runtime_error("pipe");
  }
  pid_ = spawn(args, pipe[1], false);
  // The server says its port once it listens.
  std::string line;
  char ch = 0;
  pollfd p{pipe[0], POLLIN, 0};
  while (line.find('\n') == std::string::npos && poll(&p, 1, 30'000) > 0 &&
         read(pipe[0], &ch, 1) == 1) {
    line.push_back(ch);
  }
  close(pipe[0]);
  const auto at = line.rfind(':');
  if (at == std::string::npos || line.find("listening") == std::string::npos) {
    kill9();
    throw std::runtime_error("pirune-server did not start: " + line);
  }
  port_ = std::atoi(line.c_str() + at + 1);
}

std::unique_ptr<httplib::Client> ServerProcess::client(const std::string& from) const {
  auto c = std::make_unique<httplib::Client>("127.0.0.1", port_);
  c->set_read_timeout(30);
  if (!from.empty()) {
    // Another address of the loopback: the server sees a second player.
    c->set_socket_options([from](int sock) {
      const sockaddr_in a{AF_INET, 0, {inet_addr(from.c_str())}, {}};
      if (bind(sock, reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0) {
        throw std::runtime_error("bind " + from);
      }
    });
  }
  return c;
}

int ServerProcess::stop() { return end(std::exchange(pid_, -1), SIGTERM); }

void ServerProcess::kill9() { end(std::exchange(pid_, -1), SIGKILL); }

std::optional<std::string> newPostgresDatabase() {
  if (geteuid() != 0) {
    return std::nullopt;
  }
  static std::string pgDir = "/tmp/pirune-pg-XXXXXX";
  static pid_t pgPid = -1;
  [[maybe_unused]] static const bool started = [] {
    const passwd* pg = getpwnam("postgres");
    if (mkdtemp(pgDir.data()) == nullptr || pg == nullptr ||
        chown(pgDir.c_str(), pg->pw_uid, pg->pw_gid) != 0) {
      throw std::runtime_error("no folder for the postgres user");
    }
    const std::string bin = "/usr/lib/postgresql/15/bin/";
    const std::string initdb = "/usr/sbin/runuser -u postgres -- " + bin + "initdb -D " + pgDir +
                               "/data -A trust -U postgres --no-sync >/dev/null 2>&1";
    if (std::system(initdb.c_str()) != 0) {
      throw std::runtime_error("initdb failed");
    }
    pgPid =
        spawn({"/usr/sbin/runuser", "-u", "postgres", "--", bin + "postgres", "-D", pgDir + "/data",
               "-k", pgDir, "-p", "5432", "-c", "listen_addresses=", "-c", "max_connections=200"},
              open((pgDir + "/log").c_str(), O_WRONLY | O_CREAT, 0600), true);
    std::atexit([] {
      // The postmaster itself (its pid is the first line of its file) shuts down fast on SIGINT.
      std::ifstream pidFile(pgDir + "/data/postmaster.pid");
      pid_t postmaster = 0;
      if (pidFile >> postmaster && postmaster > 0) {
        kill(postmaster, SIGINT);
      }
      end(pgPid, 0);
      std::filesystem::remove_all(pgDir);
    });
    return true;
  }();
  static int made = 0;
  const std::string at = "?host=" + pgDir + "&port=5432&user=postgres";
  const std::string name = "ranking" + std::to_string(++made);
  const std::string address = "postgresql:///" + name + at;
  // Until PostgreSQL answers: the first time, it may still be starting.
  for (const auto deadline = Clock::now() + std::chrono::seconds(30);;) {
    try {
      pqxx::connection c("postgresql:///postgres" + at);
      pqxx::nontransaction{c}.exec("CREATE DATABASE " + name);
      return address;
    } catch (const pqxx::broken_connection&) {
      if (Clock::now() > deadline) {
        throw;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  }
}

}  // namespace pirune::testing
