#include "single_game.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QFileInfo>
#include <QLocalSocket>
#include <cstdio>

namespace pirune::desktop {

namespace {

// How long a later start waits for the running game to take its request.
constexpr int kAskMs = 2000;

// The same for every path that leads to the same file, links included.
QString serverName(const std::string& rankingFile) {
  const QString file = QString::fromStdString(rankingFile);
  const QString canonical = QFileInfo(file).canonicalFilePath();
  const QByteArray key = (canonical.isEmpty() ? file : canonical).toUtf8();
  return "pirune-" + QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex().left(24);
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
  // Made here if missing, as the game would make it at start. A file that cannot even be opened
  // is no game's: the game itself then tells the player why.
  const int lock =
      ::open(rankingFile.c_str(), O_RDONLY | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC,
             S_IRUSR | S_IWUSR | S_IRGRP | S_IWGRP | S_IROTH | S_IWOTH);
  const QString name = serverName(rankingFile);
  if (lock >= 0 && ::flock(lock, LOCK_EX | LOCK_NB) != 0) {
    ::close(lock);
    std::fprintf(stderr, "ピルネノ翼: %s のゲームはもう動いています\n", rankingFile.c_str());
    askToComeToFront(name);
    return nullptr;
  }
  std::unique_ptr<SingleGame> game(new SingleGame(lock));
  // Whatever answers to the name now was left by a game that ended without cleaning up: the
  // lock says no game runs.
  QLocalServer::removeServer(name);
  game->server_.listen(name);
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
