#pragma once
// The game's platform in the browser: the game's folder on the program's own file system, the
// page's viewport, the one random generator, the page's pictures and boxes, the music and the
// page's clock.

#include <cstdint>
#include <string>

#include "game/platform.h"
#include "game/random_source.h"

namespace pirune::web {

// The game's folder on Emscripten's file system: scr.dat lives here, beside the names of the
// pictures and the music that the site carries.
inline constexpr char kGameFolder[] = "/game";

class WebPlatform : public Platform {
 public:
  explicit WebPlatform(MusicBackend& music) : music_(music) {}

  std::string programFolder() override { return kGameFolder; }
  std::string rankingFolder() override { return kGameFolder; }
  int screenHeight() override;
  // The page makes the window the largest square that fits the viewport, whatever size the
  // game asks for: the browser decides the viewport, not the game.
  int outerHeight() override;
  void setOuterHeight(int /*pixels*/) override {}
  void setOuterWidth(int /*pixels*/) override {}
  void seedRandomFromClock() override { random_.seedFromClock(); }
  double rnd() override { return random_.next(); }
  PictureRef loadPicture(const std::string& path) override;
  PictureRef designPicture(DesignPicture picture) override;
  void messageBox(const std::u16string& text, const std::u16string& title) override;
  std::optional<std::u16string> inputBox(const std::u16string& prompt,
                                         const std::u16string& title) override;
  MusicBackend& music() override { return music_; }
  std::int64_t nowMs() override;

 private:
  MusicBackend& music_;
  RandomSource random_;
};

// The names under which the page holds the pictures that the program carries.
inline constexpr char kWingFrame1[] = "wing frame 1";
inline constexpr char kWingFrame2[] = "wing frame 2";

// Hands the carried pictures to the page, which decodes them before the game starts.
void offerCarriedPictures();

}  // namespace pirune::web
