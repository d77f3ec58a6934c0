#pragma once
// The game's one window, and the one place where the game and the desktop are connected: the
// client area, the menu bar, the timers, the boxes and the system's requests to quit. Every
// call into the game goes through call(), which afterwards brings the desktop up to date.

#include <QLocalServer>
#include <QMainWindow>
#include <cstdint>
#include <functional>
#include <memory>

#include "client_area.h"
#include "desktop_platform.h"
#include "error_boundary.h"
#include "game/form.h"
#include "game_places.h"
#include "menu_mirror.h"
#include "system_quit.h"
#include "timer_driver.h"

namespace pirune::desktop {

class GameWindow : public QMainWindow {
 public:
  // `laterStarts` hears of every later start of the game on the same ranking, which brings this
  // window to the front; none where nothing else can start it. `clock` and `endProgram` are the
  // tests' to replace.
  GameWindow(MusicBackend& music, GamePlaces places, QLocalServer* laterStarts,
             Clock clock = steadyClock(), EndProgram endProgram = {});

  // Form_Load; false when it failed (the error has been reported).
  bool load();
  // Shown in the middle of the screen; the first showing is the game's one activation.
  void showCentred();
  // A run-time error has ended the game.
  [[nodiscard]] bool failed() const { return boundary_.failed(); }

  [[nodiscard]] FOM& form() { return form_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void call(const std::function<void()>& procedure);
  // After every call into the game: the menus mirrored, the timers re-armed, what changed
  // repainted.
  void catchUp();
  // A later start of the game asked for this window.
  void comeToFront();
  void quitOnSystemRequest();
  // Once the system asked the game to quit and no call into the game is running.
  void closeIfQuitRequested();
  void centre();

  DesktopPlatform platform_;
  FOM form_;
  ErrorBoundary boundary_;
  ClientArea* client_;
  MenuMirror menus_;
  TimerDriver timerDriver_;
  SystemQuit systemQuit_;
  int callDepth_ = 0;
  bool quitRequested_ = false;
  bool activated_ = false;
  bool unloaded_ = false;
};

}  // namespace pirune::desktop
