#include "sound/mmc.h"

namespace pirune {

namespace {
constexpr std::int64_t kLoopJoinMs = 1500;
}  // namespace

void MultimediaControl::Command(std::string_view command) {
  if (command == "open") {
    backend_.open(FileName);
  } else if (command == "prev") {
    // The loop's restart comes from the window's timer, about one length after the start, while
    // the output may be a little behind or just past the end. A restart this close to either
    // end joins the end to the beginning; further from them it cuts at once.
    const std::optional<std::int64_t> at = backend_.playingAtMs();
    if (at && (*at <= kLoopJoinMs || backend_.lengthMs() - *at <= kLoopJoinMs)) {
      backend_.rewindAtEnd();
    } else {
      backend_.rewind();
    }
  } else if (command == "play") {
    backend_.play();
  } else if (command == "stop") {
    backend_.stop();
  } else if (command == "close") {
    backend_.close();
  }
}

std::int64_t MultimediaControl::Length() const { return backend_.lengthMs(); }

}  // namespace pirune
