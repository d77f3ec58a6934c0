// pirune-flight show FILE: a flight record flown again by the game alone, its outcome printed
// as one line of JSON. A file that is not a valid record is refused in one line, status 2.

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <string_view>
#include <variant>

#include "flight/flight_player.h"

namespace {

constexpr int kRefused = 2;
constexpr int kUsage = 64;

int usage() {
  std::cerr << "usage: pirune-flight show FILE\n";
  return kUsage;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 || std::string_view(argv[1]) != "show") {
    return usage();
  }
  const std::string path = argv[2];
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::cerr << "pirune-flight: " << path << ": cannot be read\n";
    return kRefused;
  }
  // One byte more than the bound is enough to know a file is too long.
  std::string bytes(pirune::flight::kMaxBytes + 1, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  const auto flown = pirune::flight::reflight(bytes);
  if (const auto* refused = std::get_if<pirune::flight::Refusal>(&flown)) {
    std::cerr << "pirune-flight: " << path << ": refused ("
              << pirune::flight::reasonWord(refused->reason) << "): " << refused->detail << '\n';
    return kRefused;
  }
  std::cout << pirune::flight::outcomeJson(std::get<pirune::flight::Outcome>(flown)) << '\n';
  return 0;
}
