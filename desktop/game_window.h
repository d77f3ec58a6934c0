#pragma once
// The game's one window, and the one place where the session and the desktop are connected:
// the client area, the menu bar, the timer, the error box, the record files the player opens and
// saves, the world ranking's server, and the system's requests to quit.
// Every call into the session goes through call(), which afterwards closes the window if the
// system asked for that meanwhile.

#include <QAction>
#include <QDeadlineTimer>
#include <QLocalServer>
#include <QMainWindow>
#include <QTimer>
#include <QUrl>
#include <functional>
#include <optional>
#include <vector>

#include "client_area.h"
#include "desktop_platform.h"
#include "frame_painter.h"
#include "game_places.h"
#include "host/session.h"
#include "system_quit.h"
#include "world_client.h"

namespace pirune::desktop {

// What ends the program once an error has been reported and the ranking saved.
using EndProgram = std::function<void(int status)>;

class GameWindow : public QMainWindow, public HostShell {
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
  [[nodiscard]] bool failed() const { return session_.failed(); }

  // Only once load() has made it.
  [[nodiscard]] FOM& form() { return session_.form(); }

  void reportError(const std::string& text) override;
  void armTimer(std::optional<std::int64_t> delayMs) override;
  void buildMenus(const std::vector<MenuEntry>& entries) override;
  void showMenuItem(const MenuState& state) override;
  void invalidate(const Region& region) override;
  void end(int status) override;
  void chooseFlightFile() override;
  void saveFlightFile(const std::string& fileName, const std::string& bytes) override;
  void showWatching(const std::optional<std::u16string>& status) override;
  // The world ranking, once the player has given its server's address.
  bool worldRankingOffered() override { return worldServer_.has_value(); }
  bool worldServerChoosable() override { return true; }
  void chooseWorldServer() override;
  void requestFlightToken() override;
  bool confirm(const std::u16string& text) override;
  void sendFlight(const std::string& token, const std::string& utf8Name,
                  const std::string& record) override;
  void showWorldRanking() override;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void call(const std::function<void()>& procedure);
  // A later start of the game asked for this window.
  void comeToFront();
  void quitOnSystemRequest();
  // Once the system asked the game to quit and no call into the session is running.
  void closeIfQuitRequested();
  void centre();
  // Sets the one timer that wakes the game: for the session's tick when it asked for one, and for
  // what waits to be painted, but never sooner than the next display frame.
  void scheduleWake();
  void wake();
  // An answer of the world ranking's server, carried to the session unless the game has closed.
  void fromServer(const std::function<void()>& procedure);
  // The world ranking's list has come: shown in its box, and the flight chosen there watched.
  void listWorldRanking(const std::vector<WorldFlight>& flights);

  DesktopPlatform platform_;
  FramePainter painter_;
  HostSession session_;
  ClientArea* client_;
  std::vector<QAction*> actions_;
  // Wakes the game once per display frame at most, as a page's animation frames do: for the
  // next tick of its window timers as the session asks, and to paint what changed. The rules of
  // the timers themselves (a frame's floor, fresh intervals, held during boxes) are the game's.
  QTimer timer_;
  // When the session wants its tick; none: no timer can tick.
  std::optional<QDeadlineTimer> tickWanted_;
  SystemQuit systemQuit_;
  EndProgram endProgram_;
  int callDepth_ = 0;
  bool quitRequested_ = false;
  bool unloaded_ = false;
  // Declared after the session: it goes first, and no answer of the server comes after it.
  WorldClient world_;
  std::optional<QUrl> worldServer_;
  // A list asked for or shown: the menu asks for another only after it.
  bool worldListing_ = false;
};

}  // namespace pirune::desktop
