#pragma once
// Catches a run-time error that comes out of the game and reports it, as the desktop does: the
// player sees it in a box titled with the game's name, the ranking entered so far is kept, and
// the game ends; the page takes no input any more. After an error nothing calls into the game.

#include <functional>
#include <optional>
#include <string>

namespace pirune::web {

class ErrorBoundary {
 public:
  explicit ErrorBoundary(std::function<void()> saveRanking)
      : saveRanking_(std::move(saveRanking)) {}

  // Runs one call into the game. False when it failed, or when an earlier call had failed and
  // this one was therefore not made.
  bool run(const std::function<void()>& call);
  [[nodiscard]] bool failed() const { return failed_; }

  // An error met where no box can be shown, as the page goes away: it is reported, and ends
  // the game, at the next call.
  void failLater(const std::string& message);

 private:
  void fail(const std::string& message);

  std::function<void()> saveRanking_;
  std::optional<std::string> pending_;
  bool failed_ = false;
};

// Shows a run-time error in a box titled with the game's name.
void reportError(const std::string& message);

}  // namespace pirune::web
