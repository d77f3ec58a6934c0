#include "page_music.h"

#include "page.h"

namespace pirune::web {

void PageMusic::open(const std::string& path) {
  close();
  // The site carries the music of the game's folder, by its file name.
  if (path.size() > folder_.size() && path.compare(0, folder_.size(), folder_) == 0) {
    const double length = page_music_open(path.substr(folder_.size()).c_str());
    // Anything but a plausible length is no music at all.
    lengthMs_ = length > 0 && length < 86'400'000 ? static_cast<std::int64_t>(length) : 0;
  }
}

void PageMusic::rewind() {
  if (lengthMs_ > 0) {
    page_music_rewind();
  }
}

void PageMusic::play() {
  if (lengthMs_ > 0) {
    page_music_play();
  }
}

void PageMusic::stop() {
  if (lengthMs_ > 0) {
    page_music_stop();
  }
}

void PageMusic::close() {
  if (lengthMs_ > 0) {
    page_music_close();
  }
  lengthMs_ = 0;
}

}  // namespace pirune::web
