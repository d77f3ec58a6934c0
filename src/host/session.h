#pragma once
// The session around a running game, the same on every shell. Every event goes through it: it
// runs the game's procedure under the one error policy (the error shown in a box, the ranking
// saved once, the game ended), then catches the shell up: the menu items that changed, when
// the next tick is due, and the pixels of the window that changed. It also plans each frame's
// painting and keeps the ranking's bytes where the shell stores them.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "game/form.h"
#include "host/damage.h"
#include "host/flight_keeper.h"
#include "host/flight_recorder.h"
#include "host/flight_watch.h"
#include "host/host_shell.h"
#include "host/menu_changes.h"
#include "host/paint_plan.h"
#include "host/world_ranking.h"
#include "screen/pointer_units.h"

namespace pirune {

// When the ranking reaches the platform's storage: at the end of the run only (the desktop's
// file, saved once), or after every call that changed it too (a page can be dropped at any time
// without a close). The game itself never reads back what was stored during a run.
enum class RankingKept { AtEnd, AfterEveryChange };

// Far more than a ranking file, and far less than a page can hold: a larger one is refused.
inline constexpr std::size_t kLargestRankingFile = 4096;

// The one pacing rule of every shell. A shell wakes the session when it asks (armTimer), at
// its display frame where it has one; the session then takes every tick due within half a
// frame, each at its own due time on the game's clock, so that a tick that would fall just
// after a frame is painted with it. A wake-up later than this stalls the game instead: its
// clock waits, and the late tick comes once, rather than a flight lost while the window was
// hidden or dragged.
inline constexpr std::int64_t kTickLeadMs = TimerScheduler::kMinimumPeriodMs / 2;
inline constexpr std::int64_t kStallMs = 100;

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

  // The player's events, at a pixel of the client area as resize() last gave it.
  void press(MouseButton button, HeldKeys keys, int x, int y);
  void release(MouseButton button, int x, int y);
  // Esc: ends the watching of a flight.
  void escape();
  // The shell woke the session as it asked: the ticks that are due come.
  void tick();
  void menuCommand(int id);
  // A record the player chose to watch (a file's bytes): watched, or refused with its reason.
  void watch(std::string_view bytes);
  [[nodiscard]] bool watching() const { return watch_ != nullptr; }
  // The window closes: Form_Unload. True when the game ended well.
  bool quit();

  // The client area's size, in the shell's pixels.
  void resize(const ClientGeometry& client);
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
  // A box of the shell's own, open while `box` runs: the game waits as for one of its own.
  void waitFor(const std::function<void()>& box);

  // The world ranking's answers, whenever they come (HostShell::requestFlightToken, sendFlight,
  // showWorldRanking). What they say to the player waits until no flight is on.
  void flightTokenArrived(std::string token);
  void flightSent(const WorldReply& reply);
  void worldRankingUnreachable();

  [[nodiscard]] bool failed() const { return failed_; }
  // The game; only once start() has made it.
  [[nodiscard]] FOM& form() { return *form_; }
  // The game whose window the client area shows: the watched flight's while one is watched.
  [[nodiscard]] FOM& shownForm() { return watch_ ? watch_->form() : *form_; }
  [[nodiscard]] const FlightKeeper& flights() const { return flights_; }
  [[nodiscard]] bool started() const { return form_ != nullptr && menus_ != nullptr; }

 private:
  // Runs one call into the game and catches the shell up; false when it failed, or when an
  // earlier call had failed and this one was therefore not made.
  bool run(const std::function<void()>& procedure);
  // The same for an event of the started game, which first brings the game's time up to now:
  // the ticks due by then come before the event, as they do when the flight is flown again.
  bool call(const std::function<void()>& procedure, std::int64_t leadMs = 0);
  void fail(const std::string& message);
  void catchUp();
  [[nodiscard]] Region takeDamage();

  // The game's time: the session's clock less every stall and every watched flight.
  [[nodiscard]] std::int64_t gameNow() const;
  void advanceGame(std::int64_t leadMs);
  // Starts and ends the record of a flight as the game enters and leaves one.
  void noteFlight();
  void endFlight(flight::Stop stop);
  void buildReplayMenu();
  void updateReplayMenu();
  void watchKept(const std::optional<std::string>& bytes);
  void stopWatching();
  void watchTick();
  // The world ranking's offer and the server's word, once no flight is on.
  void speakForWorld();
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
  int depth_ = 0;
  std::int64_t paused_ = 0;
  std::int64_t holdFrom_ = 0;
  FlightRecorder recorder_;
  FlightKeeper flights_;
  std::unique_ptr<FlightWatch> watch_;
  std::int64_t watchFrom_ = 0;

  // The fifth menu, the session's own: the last flight, the ranked ones, a record file.
  struct ReplayMenu {
    MenuItem menu{u"リプレイ", false, false};
    MenuItem last{u"前回の飛行を見る", false, false};
    std::array<std::unique_ptr<MenuItem>, kRankCount> ranked;
    MenuItem open{u"記録ファイルを開いて見る…", false, false};
    MenuItem save{u"前回の飛行をファイルに保存…", false, false};
  };
  ReplayMenu replay_;

  // The sixth menu, where the shell has a world ranking or lets the player give its address.
  struct WorldMenu {
    MenuItem menu{u"世界ランキング", false, false};
    MenuItem view{u"世界ランキングを見る", false, false};
    MenuItem address{u"サーバーのアドレス…", false, false};
  };
  WorldMenu worldMenu_;
  WorldRanking world_;
  std::optional<WorldOffer> offer_;
  std::optional<std::u16string> worldWord_;
};

}  // namespace pirune
