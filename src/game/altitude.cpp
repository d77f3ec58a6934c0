// The hero's height: lifted by wing beats, pulled down by the flight timer, and the two limits
// of a flight, wings melting at the top and the fall at the bottom.

#include "game/form.h"

namespace pirune {

void FOM::PIRUNEITI_HENGE(std::int16_t henge) {
  altitude += henge;
  if (altitude >= 100) {
    if (meltCount < 10) {
      LBl.setCaption(u"つ、翼が溶ける");
      ++meltCount;
    } else {
      sceneName = u"otiru1";
      scenePage = 0;
      piruneTIM.setEnabled(false);
      LBl_Click();
    }
  } else if (altitude > 0) {
    IMG.Move(IMG.Left(), static_cast<float>(100 - altitude), static_cast<float>(growth + 10),
             static_cast<float>(growth + 30));
  } else {
    sceneName = u"otiru2";
    scenePage = 0;
    piruneTIM.setEnabled(false);
    LBl_Click();
  }
}

void FOM::piruneTIM_Timer() {
  PIRUNEITI_HENGE(static_cast<std::int16_t>(-meltCount));
  // Ever faster, down to a tick every 90 ms; also on the tick that ended the flight.
  if (piruneTIM.Interval() >= 100) {
    piruneTIM.setInterval(piruneTIM.Interval() - 10);
  }
}

}  // namespace pirune
