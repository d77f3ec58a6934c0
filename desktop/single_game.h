#pragma once
// One game per ranking file. The first game started on a scr.dat holds a lock beside it for its
// whole run (the system lets go of the lock when the game ends, however it ends) and listens
// for later starts in the player's private folder; a later start on the same file asks that
// game to come to the front and ends, so that two games never write one ranking.

#include <QLocalServer>
#include <memory>
#include <string>

namespace pirune::desktop {

class SingleGame {
 public:
  // This run's claim on `rankingFile`, or null when another game runs on it; that game has
  // then been asked to come to the front.
  static std::unique_ptr<SingleGame> claim(const std::string& rankingFile);

  SingleGame(const SingleGame&) = delete;
  SingleGame& operator=(const SingleGame&) = delete;
  SingleGame(SingleGame&&) = delete;
  SingleGame& operator=(SingleGame&&) = delete;
  ~SingleGame();

  // Its newConnection is a later start that wants this game in front.
  [[nodiscard]] QLocalServer& laterStarts() { return server_; }

 private:
  explicit SingleGame(int lock) : lock_(lock) {}

  int lock_;
  QLocalServer server_;
};

}  // namespace pirune::desktop
