#pragma once
// The desktop's music player: the whole wave file decoded at "open", played by a QAudioSink
// that pulls from memory on the window's thread without ever waiting for the sound output.
// Without a sound output or a readable file the length is 0 and every command does nothing.

#include <QAudioFormat>
#include <QByteArray>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "sound/music_backend.h"

class QAudioSink;

namespace pirune {

class MusicSource;

class WavePlayer : public MusicBackend {
 public:
  WavePlayer();
  WavePlayer(const WavePlayer&) = delete;
  WavePlayer& operator=(const WavePlayer&) = delete;
  WavePlayer(WavePlayer&&) = delete;
  WavePlayer& operator=(WavePlayer&&) = delete;
  ~WavePlayer() override;

  void open(const std::string& path) override;
  [[nodiscard]] std::int64_t lengthMs() const override { return lengthMs_; }
  void rewind() override;
  void play() override;
  void stop() override;
  void close() override;

  // How far the music has been handed to the sound output, in ms from its beginning.
  [[nodiscard]] std::int64_t positionMs() const;
  // Audio the sound output has taken since the last start, in ms; it grows only while the
  // output really plays.
  [[nodiscard]] std::int64_t processedMs() const;

 private:
  // The decoded music; the source reads it where it lies.
  std::vector<std::int16_t> samples_;
  std::unique_ptr<MusicSource> source_;
  std::unique_ptr<QAudioSink> sink_;
  QAudioFormat format_;
  std::int64_t lengthMs_ = 0;
};

}  // namespace pirune
