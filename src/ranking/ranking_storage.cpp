// The ranking between runs: read from scr.dat at start, written back when the window closes,
// or when a run-time error ends the game after the ranking was read.

#include <utility>

#include "game/form.h"
#include "ranking/scr_dat.h"

namespace pirune {

void FOM::RANKING_LOAD() {
  rankTable = decodeRanking(platform_.loadRanking());
  rankingRead_ = true;
}

void FOM::RANKING_SAVE() {
  // A ranking that was never read is not written over the stored one, and one save is all a
  // run gets: after a failed one the error ending the game must not try again.
  if (!std::exchange(rankingRead_, false)) {
    return;
  }
  platform_.storeRanking(encodeRanking(rankTable));
}

}  // namespace pirune
