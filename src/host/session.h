#pragma once
// The session around a running game, the same on every shell. Every event goes through it: it
// runs the game's procedure under the one error policy (the error shown in a box, the ranking
// saved once, the game ended), then catches the shell up: the menu items that changed, when
// the next tick is due, and the pixels of the window that changed. It also plans each frame's
// painting and keeps the ranking's bytes where the shell stores them.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "game/form.h"
#include "host/damage.h"
#include "host/host_shell.h"
#include "host/menu_changes.h"
#include "host/paint_plan.h"

namespace pirune {

// When the ranking reaches the platform's storage: at the end of the run only (the desktop's
// file, saved once), or after every call that changed it too (a page can be dropped at any time
// without a close). The game itself never reads back what was stored during a run.
enum class RankingKept { AtEnd, AfterEveryChange };

// Far more than a ranking file, and far less than a page can hold: a larger one is refused.
inline constexpr std::size_t kLargestRankingFile = 4096;

class HostSession {
 public:
  HostSession(Platform& platform, HostShell& shell, FontMetrics fonts,
              RankingKept kept = RankingKept::AtEnd);
  HostSession(const HostSession&) = delete;
  HostSession& operator=(const HostSession&) = delete;
  HostSession(HostSession&&) = delete;
  HostSession& operator=(HostSession&&) = delete;
  ~HostSession();

  // The window made and Form_Load run; false when that failed (it has been reported).
  bool start();
  // The window shown: its one activation.
  void activate();

  // The player's and the clock's events, in units of the 100 by 100 client area.
  void press(MouseButton button, std::int16_t shift, float x, float y);
  void release(MouseButton button, float x, float y);
  // `leadMs`: a tick due within it comes now (see TimerScheduler::fireDue).
  void tick(std::int64_t leadMs = 0);
  void menuCommand(int id);
  // The window closes: Form_Unload. True when the game ended well.
  bool quit();

  // The client area's size, in the shell's pixels.
  void resize(const ClientGeometry& client);
  [[nodiscard]] const ClientGeometry& client() const { return client_; }
  // What to draw to paint `region` of the client area as the window is now.
  [[nodiscard]] std::vector<PaintStep> paint(const Region& region);

  // The ranking as it stands now stored, if it changed since it was last stored; the run's one
  // save is still to come. After an error, that save comes now if it has not yet.
  void keepRanking();
  // A scr.dat the player brought: its ranking shown, and kept in place of the game's once the
  // player says so (`confirm`, with the box's text).
  void offerRanking(std::string_view bytes,
                    const std::function<bool(const std::u16string& text)>& confirm);

  // A word from the shell to the player, in a box of the game's: the game waits meanwhile.
  void tell(const std::u16string& text);

  [[nodiscard]] bool failed() const { return failed_; }
  // The game; only once start() has made it.
  [[nodiscard]] FOM& form() { return *form_; }
  [[nodiscard]] bool started() const { return form_ != nullptr && menus_ != nullptr; }

 private:
  // Runs one call into the game and catches the shell up; false when it failed, or when an
  // earlier call had failed and this one was therefore not made.
  bool run(const std::function<void()>& procedure);
  // The same for an event of the started game.
  bool call(const std::function<void()>& procedure);
  void fail(const std::string& message);
  void catchUp();
  [[nodiscard]] Region takeDamage();

  Platform& platform_;
  HostShell& shell_;
  RankingKept kept_;
  std::unique_ptr<FOM> form_;
  std::unique_ptr<MenuChanges> menus_;
  DamageTracker damage_;
  PaintPlanner planner_;
  ClientGeometry client_;
  std::optional<std::string> stored_;
  bool failed_ = false;
  bool activated_ = false;
};

}  // namespace pirune
