#include "game_places.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace pirune::desktop {

GamePlaces GamePlaces::ofThisProgram(bool rankingPerPlayer) {
  // The folder of the running program, never the current directory.
  std::string program = QDir::cleanPath(QCoreApplication::applicationDirPath()).toStdString();
  std::string ranking = rankingPerPlayer ? perPlayerRankingFolder() : program;
  return {std::move(program), std::move(ranking)};
}

std::string perPlayerRankingFolder() {
  const QString folder =
      QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/pirune";
  // Should it fail, opening scr.dat there fails too, and the player is told which file.
  QDir().mkpath(folder);
  return QDir::cleanPath(folder).toStdString();
}

}  // namespace pirune::desktop
