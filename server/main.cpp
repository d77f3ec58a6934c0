// pirune-server: the world ranking of ピルネノ翼 and the web page beside it. Every flight sent
// is flown again here and timed from the token handed out when it began; only what that gives
// counts.

#include <httplib.h>
#include <pthread.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <iostream>
#include <string>
#include <thread>

#include "api.h"
#include "store.h"

namespace {

using pirune::server::Settings;

constexpr const char* kUsage = R"(usage: pirune-server --data FILE|postgresql://... [options]
  --data FILE|URL        the ranking: a SQLite file (made when missing), or a PostgreSQL address
                         that several servers may share
  --site DIR             the web page's folder, served at /; without it, the interface alone
  --listen HOST:PORT     where to answer (default 127.0.0.1:8000)
  --threads N            clients served at once, 1-256 (default 64)
  --leeway-ms N          how much sooner than a flight's own length it may be sent after its
                         token, 0-60000 (default 3000)
  --slack-s N            how long after a flight's own length it may still be sent,
                         0-86400 (default 600)
  --token-life-s N       how long a token lives, 1-86400 (default 32400: 8 hours of flight and
                         one more)
  --start-limit N        tokens an address may ask for per minute, 1-1000000 (default 30)
  --send-limit N         flights an address may send per minute, 1-1000000 (default 6)
  --fresh-ms N           how long a list of the ranking is sent again before it is read again,
                         0-60000 (default 1000): how late another server's flight may show
  --allow-origin ORIGIN  a page served elsewhere (as https://pirune.example) that may use the
                         interface; without it, only the page served from here
  --trust-proxy ADDRESS  a load balancer whose X-Forwarded-For names the player's address, for
                         the limits; may be given more than once
)";

struct Options {
  std::string data;
  std::string host = "127.0.0.1";
  int port = 8000;
  int threads = 64;
  Settings settings;
};

long number(const std::string& name, const std::string& text, long least, long most) {
  std::size_t used = 0;
  long value = 0;
  try {
    value = std::stol(text, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used != text.size() || text.empty() || value < least || value > most) {
    throw std::invalid_argument(name + " takes a whole number from " + std::to_string(least) +
                                " to " + std::to_string(most));
  }
  return value;
}

Options parse(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    const std::string name = argv[i];
    if (name == "--help") {
      std::cout << kUsage;
      std::exit(0);
    }
    if (i + 1 >= argc) {
      throw std::invalid_argument(name + " needs a value");
    }
    const std::string value = argv[++i];
    if (name == "--data") {
      o.data = value;
    } else if (name == "--site") {
      o.settings.site = value;
    } else if (name == "--listen") {
      const auto colon = value.rfind(':');
      if (colon == std::string::npos || colon == 0) {
        throw std::invalid_argument("--listen takes HOST:PORT");
      }
      o.host = value.substr(0, colon);
      o.port = static_cast<int>(number(name, value.substr(colon + 1), 0, 65535));
    } else if (name == "--threads") {
      o.threads = static_cast<int>(number(name, value, 1, 256));
    } else if (name == "--leeway-ms") {
      o.settings.timing.leewayMs = number(name, value, 0, 60'000);
    } else if (name == "--slack-s") {
      o.settings.timing.slackMs = number(name, value, 0, 86'400) * 1000;
    } else if (name == "--token-life-s") {
      o.settings.tokenLifeMs = number(name, value, 1, 86'400) * 1000;
    } else if (name == "--start-limit") {
      o.settings.startsPerMinute = static_cast<double>(number(name, value, 1, 1'000'000));
    } else if (name == "--send-limit") {
      o.settings.sendsPerMinute = static_cast<double>(number(name, value, 1, 1'000'000));
    } else if (name == "--fresh-ms") {
      o.settings.freshMs = number(name, value, 0, 60'000);
    } else if (name == "--allow-origin") {
      if (!pirune::server::isOrigin(value)) {
        throw std::invalid_argument("--allow-origin takes an origin, as https://pirune.example");
      }
      o.settings.allowOrigin = value;
    } else if (name == "--trust-proxy") {
      o.settings.proxies.push_back(value);
    } else {
      throw std::invalid_argument("unknown option " + name);
    }
  }
  if (o.data.empty()) {
    throw std::invalid_argument("--data is needed");
  }
  return o;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  try {
    options = parse(argc, argv);
  } catch (const std::exception& e) {
    std::cerr << "pirune-server: " << e.what() << "\n" << kUsage;
    return 64;
  }

  // SIGTERM and SIGINT are taken by one thread that waits for them, never by a handler: every
  // thread made from here on has them blocked.
  sigset_t stopping;
  sigemptyset(&stopping);
  sigaddset(&stopping, SIGTERM);
  sigaddset(&stopping, SIGINT);
  pthread_sigmask(SIG_BLOCK, &stopping, nullptr);
  std::signal(SIGPIPE, SIG_IGN);

  try {
    // A kept-alive client holds its thread; the database needs far fewer connections.
    auto store = pirune::server::openStore(options.data, std::min(options.threads, 16));
    pirune::server::Api api(*store, options.settings);
    httplib::Server server;
    const int threads = options.threads;
    server.new_task_queue = [threads] {
      return new httplib::ThreadPool(static_cast<std::size_t>(threads));
    };
    // A client that stalls is let go rather than holding a thread.
    server.set_read_timeout(10);
    server.set_write_timeout(10);
    server.set_keep_alive_timeout(5);
    server.set_keep_alive_max_count(1000);
    // An answer's head and body go out as separate writes: without this, each waits for the
    // client's delayed acknowledgement, 40 ms.
    server.set_tcp_nodelay(true);
    api.install(server);
    // Port 0 takes any free port; the line below tells which.
    const int port = options.port == 0 ? server.bind_to_any_port(options.host)
                     : server.bind_to_port(options.host, options.port) ? options.port
                                                                       : -1;
    if (port <= 0) {
      std::cerr << "pirune-server: cannot listen on " << options.host << ':' << options.port
                << '\n';
      return 1;
    }
    std::atomic<bool> signalled = false;
    std::thread waiter([&server, &stopping, &signalled] {
      int signal = 0;
      sigwait(&stopping, &signal);
      signalled = true;
      server.stop();
    });
    std::cout << "pirune-server: listening on http://" << options.host << ':' << port << '/'
              << std::endl;
    const bool served = server.listen_after_bind();
    if (!signalled) {
      // listen ended by itself: wake the waiter so that it can end too.
      kill(getpid(), SIGTERM);
    }
    waiter.join();
    return served ? 0 : 1;
  } catch (const std::exception& e) {
    std::cerr << "pirune-server: " << e.what() << '\n';
    return 1;
  }
}
