#pragma once
// Raw bytes of the files the ranking tests make and check, read and written without the game.

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "support/scripted_platform.h"

namespace pirune::testing {

inline std::string bytesOf(std::initializer_list<int> values) {
  std::string bytes;
  for (const int value : values) {
    bytes.push_back(static_cast<char>(value));
  }
  return bytes;
}

inline std::string repeat(int value, std::size_t count) {
  return std::string(count, static_cast<char>(value));
}

inline std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeFile(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::vector<std::string> folderListing(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// A program run whose start and end the test calls itself, so that the folder can be prepared
// before the ranking is read.
struct ProgramRun {
  ScriptedPlatform platform;
  FOM form{platform};

  [[nodiscard]] std::filesystem::path scr() const { return platform.folder / "scr.dat"; }
  void load() { form.Form_Load(); }
  void unload() {
    std::int16_t cancel = 0;
    form.Form_Unload(cancel);
  }
};

// The record the game writes for an entry that was never filled.
inline std::string blankRecord() { return repeat(0x20, 10) + bytesOf({0x00, 0x00}); }

}  // namespace pirune::testing
