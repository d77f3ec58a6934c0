#include "single_game.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QLocalSocket>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <optional>

#include "game_places.h"
#include "ranking/ranking_file.h"

namespace pirune::desktop {

namespace {

// How long a later start waits for the running game to take its request.
constexpr int kAskMs = 2000;

// Beside the ranking and never replaced, unlike the ranking itself, which every save renames
// over: a lock on it holds for the whole run however often the game saves.
std::string lockFileOf(const std::string& ranking) {
  const std::filesystem::path file(ranking);
  return (file.parent_path() / ("." + file.filename().string() + ".lock")).string();
}

// Any player who shares the ranking shares its lock: one who may not write the lock file can
// still hold it open for reading. Never a link followed, nor a pipe waited on.
int openLock(const std::string& path) {
  constexpr int kHow = O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
  constexpr mode_t kShared = S_IRUSR | S_IWUSR | S_IRGRP | S_IWGRP | S_IROTH | S_IWOTH;
  const int lock = ::open(path.c_str(), O_RDWR | kHow, kShared);
  return lock < 0 && errno == EACCES ? ::open(path.c_str(), O_RDONLY | kHow, kShared) : lock;
}

// In the player's private folder, so that no other user can take the name first; the same for
// every path that leads to the same ranking.
std::optional<QString> frontRequestsOf(const std::string& ranking) {
  const std::optional<std::string> folder = privateRuntimeFolder();
  if (!folder) {
    return std::nullopt;
  }
  const QByteArray key = QByteArray::fromStdString(ranking);
  return QString::fromStdString(*folder) + "/pirune-" +
         QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex().left(24);
}

void askToComeToFront(const QString& name) {
  QLocalSocket socket;
  socket.connectToServer(name);
  if (socket.waitForConnected(kAskMs)) {
    socket.write("front\n");
    socket.waitForBytesWritten(kAskMs);
    socket.disconnectFromServer();
  }
}

}  // namespace

std::unique_ptr<SingleGame> SingleGame::claim(const std::string& rankingFile) {
  const std::string ranking = resolvedRankingFile(rankingFile);
  // A lock that cannot even be made guards nothing: the game itself then tells the player why
  // its ranking cannot be kept.
  const int lock = openLock(lockFileOf(ranking));
  const bool taken = lock >= 0 && ::flock(lock, LOCK_EX | LOCK_NB) == 0;
  // Only a lock held elsewhere says that a game runs; a file system that cannot lock says nothing.
  const bool heldElsewhere = lock >= 0 && !taken && errno == EWOULDBLOCK;
  const std::optional<QString> name = frontRequestsOf(ranking);
  if (heldElsewhere) {
    ::close(lock);
    std::fprintf(stderr, "ピルネノ翼: %s のゲームはもう動いています\n", rankingFile.c_str());
    if (name) {
      askToComeToFront(*name);
    }
    return nullptr;
  }
  std::unique_ptr<SingleGame> game(new SingleGame(lock));
  if (!taken || !name) {
    return game;
  }
  // Whatever answers to the name now was left by a game that ended without cleaning up: the
  // lock says no game runs, and the folder is the player's own.
  QLocalServer::removeServer(*name);
  game->server_.listen(*name);
  QObject::connect(&game->server_, &QLocalServer::newConnection, &game->server_,
                   [&server = game->server_] {
                     while (QLocalSocket* start = server.nextPendingConnection()) {
                       start->deleteLater();
                     }
                   });
  return game;
}

SingleGame::~SingleGame() {
  if (lock_ >= 0) {
    ::close(lock_);
  }
}

}  // namespace pirune::desktop
