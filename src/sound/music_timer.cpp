// The music loops by a window timer of one music length, not by the player itself.

#include "game/form.h"

namespace pirune {

void FOM::MMCTIM_Timer() {
  if (musicOn()) {
    MMC.Command("prev");
    MMC.Command("play");
  }
}

}  // namespace pirune
