#pragma once
// The game's platform on the desktop: the program's folder, the window's size, the one random
// generator, pictures, the boxes and the clock.

#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <string>

#include "game/platform.h"

namespace pirune::desktop {

class DesktopPlatform : public Platform {
 public:
  // The folder is that of the running program unless one is given (the tests bring their own).
  explicit DesktopPlatform(MusicBackend& music, std::optional<std::string> folder = std::nullopt);

  // The window whose outer size the game sets and over which the boxes open.
  void attachWindow(QWidget* window) { window_ = window; }
  // The window's frame is known only once it is shown: sets the outer size the game asked for
  // again, now with the frame counted.
  void fitOuterSize();
  // Runs just before a box opens, so that the player sees the window as it is behind the box.
  std::function<void()> beforeBox;

  std::string programFolder() override;
  int screenHeight() override;
  int outerHeight() override;
  void setOuterHeight(int pixels) override;
  void setOuterWidth(int pixels) override;
  void seedRandomFromClock() override;
  double rnd() override;
  PictureRef loadPicture(const std::string& path) override;
  PictureRef designPicture(DesignPicture picture) override;
  void messageBox(const std::u16string& text, const std::u16string& title) override;
  std::optional<std::u16string> inputBox(const std::u16string& prompt,
                                         const std::u16string& title) override;
  MusicBackend& music() override { return music_; }
  std::int64_t nowMs() override { return clock_.elapsed(); }

 private:
  [[nodiscard]] QSize frameExtra() const;

  MusicBackend& music_;
  std::optional<std::string> folder_;
  QPointer<QWidget> window_;
  std::optional<int> outerWidth_;
  std::optional<int> outerHeight_;
  std::mt19937_64 generator_;
  std::uniform_real_distribution<double> uniform_{0.0, 1.0};
  QElapsedTimer clock_;
};

// Box texts come with CR LF line breaks; Qt breaks at LF alone.
QString boxText(const std::u16string& text);

}  // namespace pirune::desktop
