#pragma once
// What a shell does for the session around the game, with its toolkit alone. The session
// decides what and when; the shell only carries it out.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/menu_changes.h"
#include "host/pixels.h"

namespace pirune {

// What the program ends with after a run-time error.
inline constexpr int kFailureStatus = 1;

class HostShell {
 public:
  HostShell() = default;
  HostShell(const HostShell&) = delete;
  HostShell& operator=(const HostShell&) = delete;
  HostShell(HostShell&&) = delete;
  HostShell& operator=(HostShell&&) = delete;
  virtual ~HostShell() = default;

  // A run-time error (UTF-8), in a box titled with the game's name; returns once the player
  // closed it.
  virtual void reportError(const std::string& text) = 0;
  // The session's tick is wanted after `delayMs`, replacing any wanted before; none: no timer
  // can tick.
  virtual void armTimer(std::optional<std::int64_t> delayMs) = 0;
  // The menu bar, once, when the game has started.
  virtual void buildMenus(const std::vector<MenuEntry>& entries) = 0;
  virtual void showMenuItem(const MenuState& state) = 0;
  // These pixels of the client area changed: they are to be painted with the next frame.
  virtual void invalidate(const Region& region) = 0;
  // A run-time error has ended the game; the session calls nothing into it any more.
  virtual void end(int status) = 0;

  // The player wants to watch a record file: the shell lets them choose one and hands its bytes
  // to HostSession::watch, or does nothing when they change their mind.
  virtual void chooseFlightFile() = 0;
  // The player wants to keep a record as a file: the shell offers to save `bytes`, suggesting
  // `fileName`.
  virtual void saveFlightFile(const std::string& fileName, const std::string& bytes) = 0;
  // While a flight is watched, what the window says about it (in its title or a status line);
  // none once the live game shows again.
  virtual void showWatching(const std::optional<std::u16string>& status) = 0;

  // The world ranking, where the shell can reach one; without it none of it shows.
  [[nodiscard]] virtual bool worldRankingOffered() { return false; }
  // Where the player gives the server's address: the sixth menu is there from the start, with
  // its item for the address, and the world ranking works once one is given.
  [[nodiscard]] virtual bool worldServerChoosable() { return false; }
  // The player wants to give that address: the shell asks for it and keeps it. The game waits
  // meanwhile.
  virtual void chooseWorldServer() {}
  // A token for the flight that just began, asked of the server with nothing of the player:
  // the shell hands it to HostSession::flightTokenArrived when it comes, or does nothing.
  virtual void requestFlightToken() {}
  // OK or キャンセル to `text`, in a box of the game's; true for OK.
  virtual bool confirm(const std::u16string& /*text*/) { return false; }
  // The player said yes: the flight goes to the server, whose answer the shell hands to
  // HostSession::flightSent (WorldReply::Kind::Unreachable when none came).
  virtual void sendFlight(const std::string& /*token*/, const std::string& /*utf8Name*/,
                          const std::string& /*record*/) {}
  // The world ranking's top flights, each to watch (its bytes to HostSession::watch), or
  // HostSession::worldRankingUnreachable when they cannot be fetched.
  virtual void showWorldRanking() {}
};

}  // namespace pirune
