#pragma once
// Where the game finds its pictures and music, and where it keeps scr.dat. The portable game
// keeps the ranking beside the program, as the folder the game was made for; the packaged game
// is installed read-only, so each player's ranking lives in that player's own data folder.

#include <QString>
#include <QUrl>
#include <optional>
#include <string>

namespace pirune::desktop {

struct GamePlaces {
  std::string programFolder;
  std::string rankingFolder;

  // The folder of the running program, and scr.dat beside it or in the player's data folder,
  // $XDG_DATA_HOME/pirune (made if it is not there yet).
  static GamePlaces ofThisProgram(bool rankingPerPlayer);
};

// A folder that only this player can reach, for what no other user may see or take first: the
// system's $XDG_RUNTIME_DIR when it is the player's own and mode 0700, else pirune-runtime in
// the player's cache folder, made so; nothing when that one is not the player's alone.
std::optional<std::string> privateRuntimeFolder();

// The world ranking's server the player gave, one line in world-server.txt beside scr.dat; none
// when no address is kept there, or what is there is no server's address.
std::optional<QUrl> keptWorldServer(const std::string& rankingFolder);
// Kept in place of the one before, written whole or not at all and brought to the disk; none
// forgets it. An empty text when it is kept, else why not.
QString keepWorldServer(const std::string& rankingFolder, const std::optional<QUrl>& server);

// A rename or a removal reaches the disk only with its folder: true once it has.
bool syncFolder(const QString& folder);

}  // namespace pirune::desktop
