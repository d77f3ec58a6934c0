#pragma once
// The music player of the browser: the page plays the site's encoding of o.wav through
// WebAudio. Its length is the wave file's own, measured when the site was built, so the
// game's restart timer matches the music exactly. A file the site does not carry has a length
// of 0 and makes every command do nothing, as on the desktop.

#include <cstdint>
#include <string>

#include "sound/music_backend.h"

namespace pirune::web {

class PageMusic : public MusicBackend {
 public:
  explicit PageMusic(std::string folder) : folder_(std::move(folder)) {}

  void open(const std::string& path) override;
  [[nodiscard]] std::int64_t lengthMs() const override { return lengthMs_; }
  void rewind() override;
  void play() override;
  void stop() override;
  void close() override;

 private:
  std::string folder_;
  std::int64_t lengthMs_ = 0;
};

}  // namespace pirune::web
