#include "music_source.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace pirune {

MusicSource::MusicSource(QByteArray pcm, QObject* parent)
    : QIODevice(parent), pcm_(std::move(pcm)) {}

qint64 MusicSource::bytesAvailable() const {
  return remaining() + (rewindPending_ ? pcm_.size() : 0);
}

void MusicSource::rewindNow() {
  position_ = 0;
  rewindPending_ = false;
}

void MusicSource::rewindAtEnd() {
  if (remaining() == 0) {
    rewindNow();
  } else {
    rewindPending_ = true;
  }
}

void MusicSource::settle() {
  if (rewindPending_) {
    rewindNow();
  }
}

qint64 MusicSource::readData(char* data, qint64 maxSize) {
  qint64 copied = 0;
  while (copied < maxSize) {
    if (remaining() == 0) {
      if (!rewindPending_ || pcm_.isEmpty()) {
        break;
      }
      rewindNow();
    }
    const qint64 n = std::min(maxSize - copied, remaining());
    std::memcpy(data + copied, pcm_.constData() + position_, static_cast<std::size_t>(n));
    position_ += n;
    copied += n;
  }
  return copied;
}

qint64 MusicSource::writeData(const char* /*data*/, qint64 /*maxSize*/) { return -1; }

}  // namespace pirune
