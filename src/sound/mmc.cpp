#include "sound/mmc.h"

namespace pirune {

void MultimediaControl::Command(std::string_view command) {
  if (command == "open") {
    backend_.open(FileName);
  } else if (command == "prev") {
    backend_.rewind();
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
