#include "game_places.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace pirune::desktop {

namespace {

// A folder itself, not a link to one, owned by this player and closed to everyone else.
bool isPrivateFolder(const std::string& folder) {
  struct stat status {};
  return ::lstat(folder.c_str(), &status) == 0 && S_ISDIR(status.st_mode) &&
         status.st_uid == ::geteuid() && (status.st_mode & 0777) == 0700;
}

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

}  // namespace pirune::desktop
