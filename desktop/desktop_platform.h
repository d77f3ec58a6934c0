#pragma once
// The game's platform on the desktop: its folders, scr.dat and the flight records beside it, the
// window's size, the one random generator, pictures, the boxes, the music and the clock.

#include <QPointer>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "game/platform.h"
#include "game_places.h"
#include "ranking/ranking_file.h"

namespace pirune::desktop {

// Milliseconds of a monotonic clock; the tests bring one they move themselves.
using Clock = std::function<std::int64_t()>;
Clock steadyClock();

class DesktopPlatform : public Platform {
 public:
  // `window` is the game's window: its outer size is the game's to set, and the boxes open over
  // it.
  DesktopPlatform(MusicBackend& music, QWidget& window, GamePlaces places, Clock clock);

  std::string programFolder() override { return places_.programFolder; }
  // Where scr.dat is, and what is kept beside it.
  [[nodiscard]] const std::string& rankingFolder() const { return places_.rankingFolder; }
  std::string loadRanking() override;
  void storeRanking(const std::string& records) override;
  int screenHeight() override;
  int outerHeight() override;
  void setOuterHeight(int pixels) override;
  void setOuterWidth(int pixels) override;
  PictureRef loadPicture(const std::string& path) override;
  PictureRef designPicture(DesignPicture picture) override;
  void messageBox(const std::u16string& title, const std::u16string& text) override;
  std::optional<std::u16string> inputBox(const std::u16string& title,
                                         const std::u16string& prompt) override;
  MusicBackend& music() override { return music_; }
  std::int64_t nowMs() override { return clock_(); }
  // Each record is the file <slot>.pflight in the folder flights/ beside scr.dat.
  std::optional<std::string> loadFlight(const std::string& slot) override;
  void storeFlight(const std::string& slot, const std::string& bytes) override;

 private:
  MusicBackend& music_;
  QPointer<QWidget> window_;
  GamePlaces places_;
  // scr.dat, opened at start and kept open for the whole run.
  std::unique_ptr<RankingFile> ranking_;
  QString flightFolder_;
  Clock clock_;
};

// The pixels a window manager's frame adds around `window`; none before it is shown.
QSize frameExtra(const QWidget& window);

}  // namespace pirune::desktop
