#pragma once
// Raw bytes of the files the ranking tests make and check, read and written without the game.

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "support/scripted_platform.h"

namespace pirune::testing {

// "41 42 00" is the three bytes 0x41 0x42 0x00.
inline std::string hex(std::string_view pairs) {
  std::string bytes;
  for (std::size_t i = 0; i + 1 < pairs.size(); i += 3) {
    bytes.push_back(static_cast<char>(std::stoi(std::string(pairs.substr(i, 2)), nullptr, 16)));
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
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Everything under `folder`, as sorted relative paths; nothing when there is no such folder.
inline std::vector<std::string> folderListing(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  if (std::filesystem::is_directory(folder)) {
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
      names.push_back(entry.path().lexically_relative(folder).string());
    }
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
inline std::string blankRecord() { return repeat(0x20, 10) + hex("00 00"); }

}  // namespace pirune::testing
