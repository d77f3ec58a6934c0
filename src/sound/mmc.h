#pragma once
// The hidden multimedia player control of the window: a file name, commands given as the
// strings "open", "prev", "play", "stop" and "close", and the length of the open music.

#include <cstdint>
#include <string>
#include <string_view>

#include "sound/music_backend.h"

namespace pirune {

class MultimediaControl {
 public:
  explicit MultimediaControl(MusicBackend& backend) : backend_(backend) {}

  std::string FileName;

  // Carries out one command at once; an unknown command does nothing.
  void Command(std::string_view command);
  // Length of the open music in milliseconds, 0 when none is open.
  [[nodiscard]] std::int64_t Length() const;

 private:
  MusicBackend& backend_;
};

}  // namespace pirune
