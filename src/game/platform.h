#pragma once
// What only the desktop can give the game. The core asks for it here and never includes the
// toolkit; tests give the core a scripted platform instead.

#include <cstdint>
#include <optional>
#include <string>

#include "screen/picture.h"
#include "sound/music_backend.h"

namespace pirune {

class Platform {
 public:
  Platform() = default;
  Platform(const Platform&) = delete;
  Platform& operator=(const Platform&) = delete;
  Platform(Platform&&) = delete;
  Platform& operator=(Platform&&) = delete;
  virtual ~Platform() = default;

  // The folder that holds the running program, as an absolute path.
  [[nodiscard]] virtual std::string programFolder() = 0;
  // The folder that keeps scr.dat: the program's own, or in the packaged game the player's.
  [[nodiscard]] virtual std::string rankingFolder() = 0;

  // The window's outer size and the screen, in device pixels.
  [[nodiscard]] virtual int screenHeight() = 0;
  [[nodiscard]] virtual int outerHeight() = 0;
  virtual void setOuterHeight(int pixels) = 0;
  virtual void setOuterWidth(int pixels) = 0;

  // The one random generator of the program, uniform on [0, 1).
  virtual void seedRandomFromClock() = 0;
  virtual double rnd() = 0;

  // Throws RuntimeError, naming the file, when it is missing or not a picture.
  virtual PictureRef loadPicture(const std::string& path) = 0;
  virtual PictureRef designPicture(DesignPicture picture) = 0;

  // Modal boxes. The input box answers nothing when the player cancels it.
  virtual void messageBox(const std::u16string& text, const std::u16string& title) = 0;
  virtual std::optional<std::u16string> inputBox(const std::u16string& prompt,
                                                 const std::u16string& title) = 0;

  virtual MusicBackend& music() = 0;

  // A monotonic clock for the window timers.
  [[nodiscard]] virtual std::int64_t nowMs() = 0;
};

}  // namespace pirune
