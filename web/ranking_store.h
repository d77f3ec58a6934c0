#pragma once
// scr.dat in the browser. The game reads and writes it through its own ranking file on
// Emscripten's file system; this keeps the browser's storage a copy of that file: the stored
// bytes become the file before the game loads its ranking, and every save is mirrored back.
// The player can also take the file away, or bring one: a file brought is read by the game's
// own reader and, once the player has seen its five entries and said OK, becomes the ranking.

#include <cstddef>
#include <string>

#include "ranking/rank_record.h"

namespace pirune {
class FOM;
}

namespace pirune::web {

// Far more than a ranking file, and far less than the page can hold: the page hands over at most
// one byte more, so that a larger file is refused without reading all of it.
inline constexpr std::size_t kLargestRankingFile = 4096;

class RankingStore {
 public:
  RankingStore(FOM& form, std::string folder);

  // Before Form_Load: the stored bytes, if any, become scr.dat.
  void seed();
  // After Form_Load read the ranking: from now on the store keeps up with the game.
  void loaded();

  // The game's save, mirrored to storage; the file is opened again at once, so the game goes
  // on with a ranking file as it had one, and may save again.
  void persist();
  void persistIfChanged();
  // After a run-time error: the game's one last save, mirrored.
  void saveAfterError();

  // The bytes of scr.dat for the player to keep.
  [[nodiscard]] std::string fileBytes() const;
  // Offers the file that the player chose; the answers are the page's boxes.
  void offerChosenFile();

 private:
  void mirror();
  [[nodiscard]] std::string path() const;
  [[nodiscard]] std::string offeredPath() const;

  FOM& form_;
  std::string folder_;
  bool loaded_ = false;
  RankTable saved_;
};

}  // namespace pirune::web
