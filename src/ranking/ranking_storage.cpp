// The ranking between runs: read from scr.dat at start, written back when the window closes,
// or when a run-time error ends the game after the ranking was read.

#include "game/form.h"
#include "ranking/ranking_file.h"

namespace pirune {

void FOM::RANKING_LOAD() {
  std::unique_ptr<RankingFile> file = RankingFile::open(rankingFileIn(platform_.rankingFolder()));
  rankTable = file->read();
  rankingFile_ = std::move(file);
}

void FOM::RANKING_SAVE() {
  // A ranking that was never read is not written over the file, and one save is all a run
  // gets: after a failed one the error ending the game must not try again.
  if (!rankingFile_) {
    return;
  }
  const std::unique_ptr<RankingFile> file = std::move(rankingFile_);
  file->save(rankTable);
}

}  // namespace pirune
