#include "wave_player.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QMediaDevices>

#include "music_source.h"
#include "wave_decoder.h"

namespace pirune {

namespace {

// The loop's restart comes from the window's timer, about one music length after the start,
// while the output may still be a little behind. A restart this close to the end lets the end
// play out and joins the beginning to it; further from the end it cuts at once.
constexpr std::int64_t kJoinWindowMs = 1500;

std::int64_t millisecondsOf(const QAudioFormat& format, qint64 bytes) {
  const qint64 frameBytes = format.bytesPerFrame();
  if (frameBytes <= 0 || format.sampleRate() <= 0) {
    return 0;
  }
  return bytes / frameBytes * 1000 / format.sampleRate();
}

}  // namespace

WavePlayer::WavePlayer() = default;

WavePlayer::~WavePlayer() { close(); }

void WavePlayer::open(const std::string& path) {
  close();
  const QAudioDevice device = QMediaDevices::defaultAudioOutput();
  if (device.isNull()) {
    return;
  }
  DecodedWave wave = decodeWave(path);
  if (wave.empty()) {
    return;
  }
  QAudioFormat format;
  format.setSampleRate(wave.sampleRate);
  format.setChannelCount(wave.channels);
  format.setSampleFormat(QAudioFormat::Int16);
  if (!device.isFormatSupported(format)) {
    return;
  }
  // Not copied: a copy would hold the music twice, for a moment, at every start.
  samples_ = std::move(wave.samples);
  source_ = std::make_unique<MusicSource>(QByteArray::fromRawData(
      reinterpret_cast<const char*>(samples_.data()),
      static_cast<qsizetype>(samples_.size()) * static_cast<qsizetype>(sizeof(std::int16_t))));
  source_->open(QIODevice::ReadOnly);
  sink_ = std::make_unique<QAudioSink>(device, format);
  format_ = format;
  lengthMs_ = wave.lengthMs();
}

void WavePlayer::rewind() {
  if (!sink_) {
    return;
  }
  if (sink_->state() == QAudio::ActiveState &&
      millisecondsOf(format_, source_->remaining()) <= kJoinWindowMs) {
    source_->rewindAtEnd();
  } else {
    source_->rewindNow();
  }
}

void WavePlayer::play() {
  if (!sink_) {
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
  samples_ = {};
  lengthMs_ = 0;
}

std::int64_t WavePlayer::positionMs() const {
  if (!source_) {
    return 0;
  }
  return millisecondsOf(format_, source_->position());
}

std::int64_t WavePlayer::processedMs() const { return sink_ ? sink_->processedUSecs() / 1000 : 0; }

}  // namespace pirune
