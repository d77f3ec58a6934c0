#pragma once
// The desktop's music player: the wave file read as it plays, by a QAudioSink that pulls it on
// the window's thread without ever waiting for the sound output. The sound output is opened at
// the first "play", not before the window is on the screen. A file that holds no playable music
// has a length of 0 and makes every command do nothing; without a sound output the commands do
// nothing audible.

#include <QAudioSink>
#include <cstdint>
#include <memory>
#include <string>

#include "music_source.h"
#include "sound/music_backend.h"

namespace pirune::desktop {

class WavePlayer : public MusicBackend {
 public:
  WavePlayer() = default;
  WavePlayer(const WavePlayer&) = delete;
  WavePlayer& operator=(const WavePlayer&) = delete;
  WavePlayer(WavePlayer&&) = delete;
  WavePlayer& operator=(WavePlayer&&) = delete;
  ~WavePlayer() override { close(); }

  void open(const std::string& path) override;
  [[nodiscard]] std::int64_t lengthMs() const override;
  [[nodiscard]] std::optional<std::int64_t> playingAtMs() const override;
  void rewind() override;
  void rewindAtEnd() override;
  void play() override;
  void stop() override;
  void close() override;

  // How far the music has been handed to the sound output, in ms from its beginning.
  [[nodiscard]] std::int64_t positionMs() const;
  // Audio the sound output has taken since it last started, in ms; it grows only while the
  // output really plays.
  [[nodiscard]] std::int64_t processedMs() const;

 private:
  bool openOutput();

  std::unique_ptr<MusicSource> source_;
  std::unique_ptr<QAudioSink> sink_;
};

}  // namespace pirune::desktop
