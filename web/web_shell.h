#pragma once
// The game in the page, and the one place where the game and the page are connected: the
// canvas, the menu bar, the timers, the boxes, the music and the ranking's storage. Every call
// into the game goes through call(), which afterwards brings the page up to date.

#include <cstdint>
#include <functional>
#include <optional>

#include "canvas_painter.h"
#include "error_boundary.h"
#include "game/form.h"
#include "menu_mirror.h"
#include "page_music.h"
#include "ranking_store.h"
#include "timer_driver.h"
#include "web_platform.h"

namespace pirune::web {

class WebShell {
 public:
  WebShell();

  // The stored ranking becomes scr.dat, Form_Load, then the window's one activation.
  void start();

  void press(MouseButton button, std::int16_t shift, float x, float y);
  void release(MouseButton button, float x, float y);
  void tick(std::int64_t leadMs);
  void menu(int id);
  void offerRanking();
  void downloadRanking();

  // Not calls into the game's events; the page may ask for these while a box is open.
  void keepRanking();
  // True once the window painted is the one the start left: the title, or its error.
  bool paint(const CanvasSize& canvas);

 private:
  void call(const std::function<void()>& procedure);
  // After every call into the game: the menus mirrored, the timers re-armed, a frame asked for
  // if the window changed.
  void catchUp();
  // While the game waits for a box: the timers that a box does not hold tick on.
  void tickBehindBox();

  PageMusic music_;
  WebPlatform platform_;
  FOM form_;
  RankingStore ranking_;
  ErrorBoundary boundary_;
  MenuMirror menus_;
  TimerDriver timerDriver_;
  std::optional<std::uint64_t> requestedRevision_;
  bool started_ = false;
};

}  // namespace pirune::web
