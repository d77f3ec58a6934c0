#pragma once
// The game's platform in the browser: the page's viewport, the one random generator, the page's
// pictures and boxes, the music, the page's clock, and scr.dat's bytes and the flight records in
// the browser's storage.

#include <cstdint>
#include <functional>
#include <string>

#include "game/platform.h"

namespace pirune::web {

// The game's folder as the game names its files; the site carries them by their file names.
inline constexpr char kGameFolder[] = "/game/";

class WebPlatform : public Platform {
 public:
  // `stored`: scr.dat's bytes as the browser's storage held them when the page opened.
  // `timerDue`: what runs when the game's timer falls due while a box is open.
  WebPlatform(MusicBackend& music, std::string stored, std::function<void()> timerDue);

  std::string programFolder() override { return kGameFolder; }
  std::string loadRanking() override { return stored_; }
  void storeRanking(const std::string& records) override;
  void replaceRanking(const std::string& file) override;
  int screenHeight() override;
  // The page makes the window the largest square that fits the viewport, whatever size the
  // game asks for: the browser decides the viewport, not the game.
  int outerHeight() override;
  void setOuterHeight(int /*pixels*/) override {}
  void setOuterWidth(int /*pixels*/) override {}
  PictureRef loadPicture(const std::string& path) override;
  PictureRef designPicture(DesignPicture picture) override;
  void messageBox(const std::u16string& title, const std::u16string& text) override;
  std::optional<std::u16string> inputBox(const std::u16string& title,
                                         const std::u16string& prompt) override;
  // OK and キャンセル, for the page's own questions; true for OK.
  bool confirmBox(const std::u16string& title, const std::u16string& text);
  MusicBackend& music() override { return music_; }
  std::int64_t nowMs() override;
  std::optional<std::string> loadFlight(const std::string& slot) override;
  void storeFlight(const std::string& slot, const std::string& bytes) override;

 private:
  // Waits for the open box's answer; the timers that a box does not hold tick meanwhile.
  int answerOfBox(char16_t* answer, int capacity);

  MusicBackend& music_;
  std::string stored_;
  std::function<void()> timerDue_;
};

// Hands the carried pictures to the page, which decodes them before the game starts.
void offerCarriedPictures();

}  // namespace pirune::web
