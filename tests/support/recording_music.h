#pragma once
// A music player that only notes the commands it was given.

#include <string>
#include <vector>

#include "sound/music_backend.h"

namespace pirune::testing {

struct RecordingMusic : MusicBackend {
  void open(const std::string& path) override { commands.push_back("open:" + path); }
  [[nodiscard]] std::int64_t lengthMs() const override { return length; }
  [[nodiscard]] std::optional<std::int64_t> playingAtMs() const override { return at; }
  void rewind() override { commands.emplace_back("prev"); }
  void rewindAtEnd() override { commands.emplace_back("prev at end"); }
  void play() override { commands.emplace_back("play"); }
  void stop() override { commands.emplace_back("stop"); }
  void close() override { commands.emplace_back("close"); }
  std::int64_t length = 30000;
  std::optional<std::int64_t> at;
  std::vector<std::string> commands;
};

}  // namespace pirune::testing
