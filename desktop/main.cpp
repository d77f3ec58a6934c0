// ピルネノ翼: the window, the game behind it, and the music.

#include <QApplication>
#include <QMessageBox>
#include <exception>

#include "application_setup.h"
#include "build_config.h"
#include "game_places.h"
#include "game_window.h"
#include "ranking/ranking_file.h"
#include "single_game.h"
#include "wave_player.h"

namespace {

// Chosen when the program is built: the package keeps each player's ranking in their own
// data folder, the portable game beside the program.
constexpr bool kRankingPerPlayer = PIRUNE_RANKING_PER_PLAYER;

int play() {
  const auto places = pirune::desktop::GamePlaces::ofThisProgram(kRankingPerPlayer);
  const auto claim =
      pirune::desktop::SingleGame::claim(pirune::rankingFileIn(places.rankingFolder));
  if (!claim) {
    return 0;  // the game that runs on this ranking has come to the front
  }
  pirune::desktop::WavePlayer music;
  pirune::desktop::GameWindow window(music, places, &claim->laterStarts());
  if (!window.load()) {
    return pirune::kFailureStatus;
  }
  window.showCentred();
  if (window.failed()) {
    return pirune::kFailureStatus;
  }
  return QApplication::exec();
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  pirune::desktop::setUpApplication(app);
  // Only finding the game's folders, the claim on its ranking and the making of the window can
  // fail out here; everything after goes through the game's session.
  try {
    return play();
  } catch (const std::exception& error) {
    QMessageBox::critical(nullptr, QString::fromStdU16String(pirune::kAppTitle),
                          QString::fromUtf8(error.what()));
    return pirune::kFailureStatus;
  }
}
