#include "game_places.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include "world_client.h"

namespace pirune::desktop {

namespace {

// A folder itself, not a link to one, owned by this player and closed to everyone else.
bool isPrivateFolder(const std::string& folder) {
  struct stat status {};
  return ::lstat(folder.c_str(), &status) == 0 && S_ISDIR(status.st_mode) &&
         status.st_uid == ::geteuid() && (status.st_mode & 0777) == 0700;
}

QString worldServerFileIn(const std::string& folder) {
  return QDir(QString::fromStdString(folder)).filePath(QStringLiteral("world-server.txt"));
}

// Far longer than any address the player would type.
constexpr qint64 kLongestAddressFile = 4096;

}  // namespace

GamePlaces GamePlaces::ofThisProgram(bool rankingPerPlayer) {
  // The folder of the running program, never the current directory.
  std::string program = QDir::cleanPath(QCoreApplication::applicationDirPath()).toStdString();
  if (!rankingPerPlayer) {
    return {program, program};
  }
  // $XDG_DATA_HOME/pirune, or ~/.local/share/pirune without it. Should making it fail, opening
  // scr.dat there fails too, and the player is told which file.
  const QString ranking =
      QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/pirune";
  QDir().mkpath(ranking);
  return {std::move(program), QDir::cleanPath(ranking).toStdString()};
}

std::optional<std::string> privateRuntimeFolder() {
  const QString system = QDir::cleanPath(qEnvironmentVariable("XDG_RUNTIME_DIR"));
  if (QDir::isAbsolutePath(system) && isPrivateFolder(system.toStdString())) {
    return system.toStdString();
  }
  const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
  if (cache.isEmpty()) {
    return std::nullopt;
  }
  QDir().mkpath(cache);
  const std::string own = QDir::cleanPath(cache + "/pirune-runtime").toStdString();
  // Already there, it is taken only as the private folder we make; whatever else stands there
  // is refused, never repaired or followed.
  ::mkdir(own.c_str(), S_IRWXU);
  if (!isPrivateFolder(own)) {
    return std::nullopt;
  }
  return own;
}

std::optional<QUrl> keptWorldServer(const std::string& rankingFolder) {
  QFile file(worldServerFileIn(rankingFolder));
  if (!file.open(QIODevice::ReadOnly)) {
    return std::nullopt;  // none given yet, or none that can be read: no world ranking
  }
  const QByteArray text = file.read(kLongestAddressFile);
  return worldServerAddress(QString::fromUtf8(text).section(u'\n', 0, 0));
}

QString keepWorldServer(const std::string& rankingFolder, const std::optional<QUrl>& server) {
  const QString path = worldServerFileIn(rankingFolder);
  const QString folder = QFileInfo(path).absolutePath();
  if (!server) {
    QFile file(path);
    if ((file.exists() && !file.remove()) || !syncFolder(folder)) {
      return file.errorString();
    }
    return {};
  }
  // As scr.dat: the old line or the new one, never half of one.
  const QByteArray line = server->toString(QUrl::FullyEncoded).toUtf8() + '\n';
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(line) != line.size() || !file.commit() ||
      !syncFolder(folder)) {
    return file.errorString();
  }
  return {};
}

bool syncFolder(const QString& folder) {
  const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) {
    return false;
  }
  const bool synced = ::fsync(fd) == 0;
  ::close(fd);
  return synced;
}

}  // namespace pirune::desktop
