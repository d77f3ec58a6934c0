// server-bench: how fast the world ranking re-flies and takes flights, on this machine.
//   server-bench reflights FILE...           re-flights a second of each record, in one thread
//   server-bench send SECONDS THREADS RECORD PORT...
//       verified submissions (a token, then the flight) from THREADS loopback clients for
//       SECONDS, spread over the servers' PORTs; prints the rate and the latency of each send.

#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <iostream>
#include <mutex>
#include <nlohmann/json.hpp>
#include <thread>
#include <vector>

#include "flight/flight_player.h"
#include "verdict.h"

namespace {

using Clock = std::chrono::steady_clock;

std::string readFile(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

double ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

int reflights(int argc, char** argv) {
  for (int i = 2; i < argc; ++i) {
    const std::string bytes = readFile(argv[i]);
    int n = 0;
    const auto start = Clock::now();
    while (Clock::now() - start < std::chrono::seconds(1)) {
      (void)pirune::flight::reflight(bytes);
      ++n;
    }
    const double each = ms(Clock::now() - start) / n;
    std::cout << argv[i] << ": " << bytes.size() << " bytes, " << n / (each * n / 1000)
              << " re-flights/s, " << each << " ms each\n";
  }
  return 0;
}

int send(int argc, char** argv) {
  const int seconds = std::stoi(argv[2]);
  const int threads = std::stoi(argv[3]);
  const std::string record = pirune::server::toBase64(readFile(argv[4]));
  std::vector<int> ports;
  for (int i = 5; i < argc; ++i) {
    ports.push_back(std::stoi(argv[i]));
  }
  std::mutex m;
  std::vector<double> latencies;
  std::atomic<int> failed = 0;
  const auto end = Clock::now() + std::chrono::seconds(seconds);
  std::vector<std::thread> clients;
  clients.reserve(static_cast<std::size_t>(threads));
  for (int t = 0; t < threads; ++t) {
    clients.emplace_back([&, t] {
      httplib::Client c("127.0.0.1", ports[static_cast<std::size_t>(t) % ports.size()]);
      // As a browser does. A connection per request leaves the server thousands of closed
      // connections waiting out their time, and the reads measured next collide with them.
      c.set_keep_alive(true);
      // Its head and body go out as two writes: without this the body waits for the server's
      // delayed acknowledgement of the head, 40 ms, as a browser's would not.
      c.set_tcp_nodelay(true);
      std::vector<double> mine;
      while (Clock::now() < end) {
        const auto start = c.Post("/api/flights/start", "", "application/json");
        if (!start || start->status != 200) {
          ++failed;
          continue;
        }
        const auto token = nlohmann::json::parse(start->body).value("token", "");
        const std::string body =
            nlohmann::json{{"token", token}, {"name", "bench"}, {"record", record}}.dump();
        const auto at = Clock::now();
        const auto r = c.Post("/api/flights", body, "application/json");
        if (!r || r->status != 201) {
          ++failed;
          continue;
        }
        mine.push_back(ms(Clock::now() - at));
      }
      const std::lock_guard lock(m);
      latencies.insert(latencies.end(), mine.begin(), mine.end());
    });
  }
  for (auto& c : clients) {
    c.join();
  }
  std::sort(latencies.begin(), latencies.end());
  if (latencies.empty()) {
    std::cout << "no flight was taken; " << failed << " failed\n";
    return 1;
  }
  const auto at = [&](double q) {
    return latencies[static_cast<std::size_t>(q * static_cast<double>(latencies.size() - 1))];
  };
  std::cout << static_cast<double>(latencies.size()) / seconds << " verified submissions/s, p50 "
            << at(0.5) << " ms, p99 " << at(0.99) << " ms, " << failed << " failed\n";
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string what = argc > 1 ? argv[1] : "";
  if (what == "reflights") {
    return reflights(argc, argv);
  }
  if (what == "send" && argc > 5) {
    return send(argc, argv);
  }
  std::cerr << "usage: server-bench reflights FILE... | send SECONDS THREADS RECORD PORT...\n";
  return 64;
}
