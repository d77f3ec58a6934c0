#include "wave_player.h"

#include <QAudioDevice>
#include <QMediaDevices>

namespace pirune::desktop {

void WavePlayer::open(const std::string& path) {
  close();
  source_ = MusicSource::open(QString::fromStdString(path));
}

std::int64_t WavePlayer::lengthMs() const { return source_ ? source_->lengthMs() : 0; }

bool WavePlayer::openOutput() {
  const QAudioDevice device = QMediaDevices::defaultAudioOutput();
  if (device.isNull() || !device.isFormatSupported(source_->format())) {
    return false;
  }
  sink_ = std::make_unique<QAudioSink>(device, source_->format());
  return true;
}

std::optional<std::int64_t> WavePlayer::playingAtMs() const {
  if (!source_ || !sink_ || sink_->state() != QAudio::ActiveState) {
    return std::nullopt;
  }
  return source_->lengthMs() - source_->millisecondsOf(source_->remaining());
}

void WavePlayer::rewind() {
  if (source_) {
    source_->rewindNow();
  }
}

void WavePlayer::rewindAtEnd() {
  if (source_) {
    source_->rewindAtEnd();
  }
}

void WavePlayer::play() {
  if (!source_ || (!sink_ && !openOutput())) {
    return;
  }
  switch (sink_->state()) {
    case QAudio::ActiveState: return;
    // The output has pulled all the music, and may still be sounding its last part: pulling
    // on from the new position keeps the loop free of a gap.
    case QAudio::IdleState: source_->wake(); return;
    case QAudio::SuspendedState: sink_->resume(); return;
    case QAudio::StoppedState: sink_->start(source_.get()); return;
  }
}

void WavePlayer::stop() {
  if (!sink_) {
    return;
  }
  sink_->stop();
  source_->settle();
}

void WavePlayer::close() {
  if (sink_) {
    sink_->stop();
  }
  sink_.reset();
  source_.reset();
}

std::int64_t WavePlayer::positionMs() const {
  return source_ ? source_->millisecondsOf(source_->position()) : 0;
}

std::int64_t WavePlayer::processedMs() const { return sink_ ? sink_->processedUSecs() / 1000 : 0; }

}  // namespace pirune::desktop
