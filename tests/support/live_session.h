#pragma once
// The session around a game as a shell drives it: a test clock that moves, a shell that wakes the
// session when it asks (at the next display frame for a tick due within one, as the page does),
// and the game's own random generator, so that what is played can be flown again exactly.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "host/session.h"
#include "support/scripted_platform.h"

namespace pirune::testing {

// The numbers of the menu items as the session hands them to a shell.
enum MenuId {
  kHelpItem = 1,
  kMusicItem = 4,
  kEndlessItem = 5,
  kEffectItem = 6,
  kNewGameItem = 7,
  kRankingItem = 8,
  kWatchFirstItem = 11,
};

struct DrivingShell : HostShell {
  std::int64_t* clock = nullptr;
  std::optional<std::int64_t> delay;  // as the session last asked
  std::optional<std::int64_t> wake;
  std::vector<std::string> log;  // "report ...", "end N", and "store" if the platform notes there
  std::vector<MenuEntry> menus;
  std::vector<MenuState> shown;
  Region invalid;
  std::optional<std::u16string> watching;

  void reportError(const std::string& text) override { log.push_back("report " + text); }
  void armTimer(std::optional<std::int64_t> delayMs) override;
  void buildMenus(const std::vector<MenuEntry>& entries) override { menus = entries; }
  void showMenuItem(const MenuState& state) override { shown.push_back(state); }
  void invalidate(const Region& region) override { invalid.add(region); }
  void end(int status) override { log.push_back("end " + std::to_string(status)); }
  void chooseFlightFile() override {}
  void saveFlightFile(const std::string& /*name*/, const std::string& /*bytes*/) override {}
  void showWatching(const std::optional<std::u16string>& status) override { watching = status; }

  // The world ranking, offered when `world` says so; the questions answered from `yes` in turn.
  bool world = false;
  int tokensAsked = 0;
  int asked = 0;
  std::vector<bool> yes;
  std::vector<std::string> sent;  // "token name"
  bool worldRankingOffered() override { return world; }
  void requestFlightToken() override { ++tokensAsked; }
  bool confirm(const std::u16string& /*text*/) override {
    return ++asked <= static_cast<int>(yes.size()) && yes.at(asked - 1);
  }
  void sendFlight(const std::string& token, const std::string& name,
                  const std::string& /*record*/) override {
    sent.push_back(token + " " + name);
  }
};

class LiveSession {
 public:
  // Started and activated: the title, on a client area of `side` pixels square.
  explicit LiveSession(int side = 400, const std::function<void(ScriptedPlatform&)>& prepare = {});

  // A press and a release of the left button at a pixel, now.
  void click(int x, int y);
  void click() { click(side_ / 2, side_ / 2); }
  // Through the title and the two opening pages.
  void startFlight();
  // Time passes; the shell wakes the session whenever it asked to.
  void wait(std::int64_t milliseconds);
  // Time passes with the shell asleep: a hidden window, a stalled program.
  void stall(std::int64_t milliseconds) { platform.clock += milliseconds; }

  // An endless flight flown to `distance` and left by a fresh start, ranked under `name`.
  void rankEndless(int distance, const std::u16string& name);

  // Called after every call into the session: a test looks at the game as each event left it.
  std::function<void()> afterEach = [] {};

  [[nodiscard]] FOM& form() { return session.form(); }
  [[nodiscard]] std::string lastFlight() const { return platform.flights.at("last"); }

  ScriptedPlatform platform;
  DrivingShell shell;
  HostSession session;

 private:
  int side_;
};

}  // namespace pirune::testing
