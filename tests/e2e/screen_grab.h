#pragma once
// Pictures of the screen as the player sees it, and the game window's client area below its
// menu bar, measured in the game's 100 by 100 units.

#include <X11/Xlib.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "x_session.h"

namespace xdriver {

struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
};

class Picture {
 public:
  Picture() = default;
  Picture(int width, int height);

  // What the screen shows in this rectangle, menus and boxes in front included.
  static Picture grab(const Session& session, const Geometry& area);
  // The same once it has stopped changing, as a window just shown is still being painted.
  static Picture grabSettled(const Session& session, const Geometry& area);

  bool operator==(const Picture& other) const;

  [[nodiscard]] int width() const { return width_; }
  [[nodiscard]] int height() const { return height_; }
  [[nodiscard]] const Rgb& at(int x, int y) const {
    return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                   static_cast<std::size_t>(x)];
  }
  Rgb& at(int x, int y) {
    return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                   static_cast<std::size_t>(x)];
  }
  [[nodiscard]] Picture crop(int x, int y, int width, int height) const;

  [[nodiscard]] bool savePpm(const std::string& path) const;
  static std::optional<Picture> loadPpm(const std::string& path);

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<Rgb> pixels_;
};

struct ClientArea {
  Geometry onScreen;  // the client area's rectangle on the screen
  int barHeight = 0;
  Picture picture;

  [[nodiscard]] double unitsX(int px) const { return px * 100.0 / picture.width(); }
  [[nodiscard]] double unitsY(int py) const { return py * 100.0 / picture.height(); }
  [[nodiscard]] int pixelX(double units) const;
  [[nodiscard]] int pixelY(double units) const;
  [[nodiscard]] int screenX(double units) const { return onScreen.x + pixelX(units); }
  [[nodiscard]] int screenY(double units) const { return onScreen.y + pixelY(units); }
};

// The menu bar's rows at the top of a picture of the whole window: the light neutral grey of the
// bar and its bottom line, which no picture of the game begins with.
int menuBarHeight(const Picture& window);

// The client area of the game window; nothing if the window is gone.
std::optional<ClientArea> grabClient(const Session& session, Window game);

}  // namespace xdriver
