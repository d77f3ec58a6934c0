#include "music_source.h"

#include <algorithm>

namespace pirune::desktop {

namespace {

// Beyond these a header describes no music a sound output can play; the bounds also keep the
// length in milliseconds far inside what the window's timers take.
constexpr int kMaxChannels = 8;
constexpr int kMinSampleRate = 1000;
constexpr int kMaxSampleRate = 768000;

}  // namespace

std::unique_ptr<MusicSource> MusicSource::open(const QString& path) {
  std::unique_ptr<MusicSource> source(new MusicSource(path));
  if (!source->file_.open(QIODevice::ReadOnly) || !source->decoder_.open(QIODevice::ReadOnly)) {
    return nullptr;
  }
  const QAudioFormat format = source->decoder_.audioFormat();
  const qint64 frameBytes = format.bytesPerFrame();
  if (!format.isValid() || frameBytes <= 0 || format.channelCount() > kMaxChannels ||
      format.sampleRate() < kMinSampleRate || format.sampleRate() > kMaxSampleRate) {
    return nullptr;
  }
  source->format_ = format;
  source->start_ = source->decoder_.pos();
  // The header's size is only a claim: the samples end where the file does, in whole frames.
  const qint64 held = std::min(source->decoder_.size(), source->file_.size() - source->start_);
  source->length_ = held / frameBytes * frameBytes;
  if (source->length_ <= 0 ||
      !source->QIODevice::open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
    return nullptr;
  }
  return source;
}

qint64 MusicSource::millisecondsOf(qint64 bytes) const {
  return bytes / format_.bytesPerFrame() * 1000 / format_.sampleRate();
}

qint64 MusicSource::bytesAvailable() const { return remaining() + (rewindPending_ ? length_ : 0); }

void MusicSource::rewindNow() {
  decoder_.seek(start_);
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
      if (!rewindPending_) {
        break;
      }
      rewindNow();
    }
    // Whole frames only: the output takes them so, and the decoder reads nothing less.
    const qint64 frameBytes = format_.bytesPerFrame();
    const qint64 wanted = std::min(maxSize - copied, remaining()) / frameBytes * frameBytes;
    if (wanted == 0) {
      break;
    }
    const qint64 got = decoder_.read(data + copied, wanted);
    if (got <= 0) {
      // The file was cut short while it played: its music ends here.
      length_ = position_;
      continue;
    }
    position_ += got;
    copied += got;
  }
  return copied;
}

qint64 MusicSource::writeData(const char* /*data*/, qint64 /*maxSize*/) { return -1; }

}  // namespace pirune::desktop
