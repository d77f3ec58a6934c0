#pragma once
// The game's one window: caption, menu bar and client area; its showing, its one activation and
// its closing, each handed to the game through the error boundary.

#include <QElapsedTimer>
#include <QMainWindow>
#include <QRegion>
#include <QTimer>
#include <cstdint>
#include <memory>
#include <optional>

#include "client_area.h"
#include "damage.h"
#include "error_boundary.h"
#include "frame_stats.h"
#include "menu_mirror.h"
#include "timer_driver.h"

namespace pirune {
class FOM;
}

namespace pirune::desktop {

class DesktopPlatform;

class GameWindow : public QMainWindow {
 public:
  GameWindow(FOM& form, DesktopPlatform& platform);
  GameWindow(const GameWindow&) = delete;
  GameWindow& operator=(const GameWindow&) = delete;
  GameWindow(GameWindow&&) = delete;
  GameWindow& operator=(GameWindow&&) = delete;
  ~GameWindow() override;

  // Form_Load; false when it failed (the error has been shown).
  bool load();
  // Shown in the middle of the screen; the first showing is the game's one activation.
  void showCentred();

  // Repaints if the model moved (at most once a frame) and mirrors the menu items.
  void refresh();

  [[nodiscard]] ErrorBoundary& boundary() { return boundary_; }
  [[nodiscard]] ClientArea& clientArea() { return *client_; }
  [[nodiscard]] MenuMirror& menus() { return *menus_; }
  [[nodiscard]] TimerDriver& timerDriver() { return *timerDriver_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void requestFrame();
  void paintFrame();
  void centre();

  FOM& form_;
  DesktopPlatform& platform_;
  ErrorBoundary boundary_;
  ClientArea* client_;
  std::unique_ptr<MenuMirror> menus_;
  std::unique_ptr<TimerDriver> timerDriver_;
  std::unique_ptr<FrameStats> frameStats_;
  std::optional<std::uint64_t> requestedRevision_;
  DamageTracker damage_;
  // What the model changed since the last frame, in the client area's pixels.
  QRegion unpainted_;
  QTimer frameTimer_;
  QElapsedTimer sinceFrame_;
  bool activated_ = false;
  bool unloaded_ = false;
};

}  // namespace pirune::desktop
