#pragma once
// The music player of the browser: the page plays the site's encoding of o.wav through
// WebAudio. Its length is the wave file's own, measured when the site was built, so the
// game's restart timer matches the music exactly. A file the site does not carry has a length
// of 0, and the page ignores every command while it has no music open, as on the desktop.

#include <cstdint>
#include <string>

#include "page.h"
#include "sound/music_backend.h"

namespace pirune::web {

class PageMusic : public MusicBackend {
 public:
  explicit PageMusic(std::string folder) : folder_(std::move(folder)) {}

  // The site carries the music of the game's folder, by its file name; anything but a
  // plausible length is no music at all.
  void open(const std::string& path) override {
    close();
    if (path.size() > folder_.size() && path.starts_with(folder_)) {
      const double length = page_music_open(path.substr(folder_.size()).c_str());
      lengthMs_ = length > 0 && length < 86'400'000 ? static_cast<std::int64_t>(length) : 0;
    }
  }
  [[nodiscard]] std::int64_t lengthMs() const override { return lengthMs_; }
  [[nodiscard]] std::optional<std::int64_t> playingAtMs() const override {
    const double at = page_music_position();
    return at >= 0 ? std::optional(static_cast<std::int64_t>(at)) : std::nullopt;
  }
  void rewind() override { page_music_rewind(); }
  // The page's music loops by itself, without a seam: at its end it is already at its start.
  void rewindAtEnd() override {}
  void play() override { page_music_play(); }
  void stop() override { page_music_stop(); }
  void close() override {
    page_music_close();
    lengthMs_ = 0;
  }

 private:
  std::string folder_;
  std::int64_t lengthMs_ = 0;
};

}  // namespace pirune::web
