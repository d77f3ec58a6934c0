#pragma once
// The game in the page, and the one place where the session and the page are connected: the
// canvas, the menu bar, the timer, the boxes, the music, the ranking's storage and the flight
// records' files.

#include <cstdint>
#include <string>

#include "host/session.h"
#include "page_music.h"
#include "web_platform.h"

namespace pirune::web {

class WebShell : public HostShell {
 public:
  // `stored`: scr.dat's bytes as the browser's storage holds them.
  explicit WebShell(std::string stored);

  [[nodiscard]] HostSession& session() { return session_; }
  // Paints what changed since the last frame.
  void paintFrame();
  // A scr.dat the player chose: shown, and kept once the player says OK.
  void offerRanking(std::string_view bytes);

  void reportError(const std::string& text) override;
  void armTimer(std::optional<std::int64_t> delayMs) override;
  void buildMenus(const std::vector<MenuEntry>& entries) override;
  void showMenuItem(const MenuState& state) override;
  void invalidate(const Region& region) override;
  void end(int status) override;
  void chooseFlightFile() override;
  void saveFlightFile(const std::string& fileName, const std::string& bytes) override;
  void showWatching(const std::optional<std::u16string>& status) override;
  // The world ranking is pirune-server's, on the page's own origin.
  bool worldRankingOffered() override { return true; }
  void requestFlightToken() override;
  bool confirm(const std::u16string& text) override;
  void sendFlight(const std::string& token, const std::string& utf8Name,
                  const std::string& record) override;
  void showWorldRanking() override;

 private:
  PageMusic music_;
  WebPlatform platform_;
  HostSession session_;
  Region unpainted_;
};

}  // namespace pirune::web
