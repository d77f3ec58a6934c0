#include "page_music.h"

#include "page.h"

namespace pirune::web {

void PageMusic::open(const std::string& path) {
  close();
  // The site carries the music of the game's folder, by its file name.
  if (path.size() > folder_.size() && path.compare(0, folder_.size(), folder_) == 0) {
    lengthMs_ = page::musicOpen(path.substr(folder_.size()));
  }
}

void PageMusic::rewind() {
  if (lengthMs_ > 0) {
    page::musicRewind();
  }
}

void PageMusic::play() {
  if (lengthMs_ > 0) {
    page::musicPlay();
  }
}

void PageMusic::stop() {
  if (lengthMs_ > 0) {
    page::musicStop();
  }
}

void PageMusic::close() {
  if (lengthMs_ > 0) {
    page::musicClose();
  }
  lengthMs_ = 0;
}

}  // namespace pirune::web
