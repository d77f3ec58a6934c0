#pragma once
// What the music player control needs from a shell: a wave player that never blocks the
// window. A backend that cannot open the file, or has no sound output, reports a length of 0
// and ignores every further command, so the game simply runs in silence.

#include <cstdint>
#include <optional>
#include <string>

namespace pirune {

class MusicBackend {
 public:
  MusicBackend() = default;
  MusicBackend(const MusicBackend&) = delete;
  MusicBackend& operator=(const MusicBackend&) = delete;
  MusicBackend(MusicBackend&&) = delete;
  MusicBackend& operator=(MusicBackend&&) = delete;
  virtual ~MusicBackend() = default;

  virtual void open(const std::string& path) = 0;
  // Length of the open music in milliseconds; 0 when nothing playable is open.
  [[nodiscard]] virtual std::int64_t lengthMs() const = 0;
  // Where the playing music stands, in ms from its beginning; none while it does not play.
  [[nodiscard]] virtual std::optional<std::int64_t> playingAtMs() const = 0;
  // Back to the beginning at once.
  virtual void rewind() = 0;
  // On to the beginning once the end has played: the loop joins without a seam.
  virtual void rewindAtEnd() = 0;
  virtual void play() = 0;
  virtual void stop() = 0;
  virtual void close() = 0;
};

}  // namespace pirune
