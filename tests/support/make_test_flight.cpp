// make-test-flight DIR [--longest]: flights played through the session by a steady bot, as a shell
// would deliver them, each written as DIR/<name>.pflight: what the fuzzer starts from, and a record
// made natively for the page to open. --longest adds the longest endless flight the game's
// distance can count, for the benchmark.

#include <filesystem>
#include <fstream>
#include <iostream>

#include "support/live_session.h"

namespace {

using pirune::testing::LiveSession;

std::string fly(bool endless, int keepAt, int untilDistance) {
  LiveSession live;
  if (endless) {
    live.session.menuCommand(pirune::testing::kEndlessItem);
  }
  live.startFlight();
  while (live.form().inFlight() && live.form().distance < untilDistance) {
    live.wait(40);
    if (live.form().inFlight() && live.form().altitude < keepAt) {
      live.click();
    }
  }
  live.wait(30000);
  return live.lastFlight();
}

}  // namespace

int main(int argc, char** argv) {
  const bool longest = argc == 3 && std::string(argv[2]) == "--longest";
  if (argc != 2 && !longest) {
    std::cerr << "usage: make-test-flight DIR [--longest]\n";
    return 64;
  }
  const std::filesystem::path dir = argv[1];
  std::filesystem::create_directories(dir);
  const struct {
    const char* name;
    std::string bytes;
  } flights[] = {
      {"goal", fly(false, 60, 30)},
      {"wings", fly(false, 101, 30)},
      {"endless", fly(true, 55, 60)},
      {"short", fly(true, 55, 20)},
  };
  for (const auto& f : flights) {
    std::ofstream(dir / (std::string(f.name) + ".pflight"), std::ios::binary) << f.bytes;
  }
  if (longest) {
    std::ofstream(dir / "longest.pflight", std::ios::binary) << fly(true, 55, 30000);
  }
  return 0;
}
