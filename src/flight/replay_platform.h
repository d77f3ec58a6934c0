#pragma once
// The platform a recorded flight is flown again on: no toolkit, no clock, no files. Its time is
// the record's, moved by the player; its random numbers are drawn from the record's state. When
// a flight is watched in the window, a source platform lends it the pictures and the music.

#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "game/platform.h"

namespace pirune::flight {

// The silence of a re-flight: it keeps the music's length, for the restart timer, and no sound.
class SilentMusic : public MusicBackend {
 public:
  explicit SilentMusic(std::int64_t lengthMs) : length_(lengthMs) {}
  void open(const std::string& /*path*/) override {}
  [[nodiscard]] std::int64_t lengthMs() const override { return length_; }
  [[nodiscard]] std::optional<std::int64_t> playingAtMs() const override { return std::nullopt; }
  void rewind() override {}
  void rewindAtEnd() override {}
  void play() override {}
  void stop() override {}
  void close() override {}

 private:
  std::int64_t length_;
};

class ReplayPlatform : public Platform {
 public:
  // `source` and `music`, when a flight is watched; none for a re-flight.
  explicit ReplayPlatform(std::int64_t musicLengthMs, Platform* source = nullptr,
                          MusicBackend* music = nullptr)
      : source_(source), music_(music), silence_(musicLengthMs) {}

  std::string programFolder() override { return source_ ? source_->programFolder() : "/"; }
  // Nothing of the ranking: a flight flown again never ranks.
  std::string loadRanking() override { return {}; }
  void storeRanking(const std::string& /*records*/) override {}
  int screenHeight() override { return kScreenHeight; }
  int outerHeight() override { return outer_; }
  void setOuterHeight(int pixels) override { outer_ = pixels; }
  void setOuterWidth(int /*pixels*/) override {}
  // The record sets the state; the clock has no say.
  void seedRandomFromClock() override {}
  PictureRef loadPicture(const std::string& path) override;
  PictureRef designPicture(DesignPicture picture) override;
  void messageBox(const std::u16string& /*title*/, const std::u16string& /*text*/) override {}
  std::optional<std::u16string> inputBox(const std::u16string& /*title*/,
                                         const std::u16string& /*prompt*/) override {
    return std::nullopt;
  }
  MusicBackend& music() override { return music_ != nullptr ? *music_ : silence_; }
  std::int64_t nowMs() override { return clock; }

  // The game's time, in milliseconds since the flight began.
  std::int64_t clock = 0;

 private:
  static constexpr int kScreenHeight = 1000;
  Platform* source_;
  MusicBackend* music_;
  SilentMusic silence_;
  int outer_ = 0;
};

}  // namespace pirune::flight
