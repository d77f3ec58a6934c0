// The hero's height: lifted by wing beats, pulled down by the flight timer, and the two limits
// of a flight, wings melting at the top and the fall at the bottom.

#include "game/form.h"
#include "game/rules.h"

namespace pirune {

void FOM::PIRUNEITI_HENGE(std::int16_t henge) {
  altitude += henge;
  if (altitude >= rules::kMeltCeiling) {
    if (meltCount < rules::kLastMeltCount) {
      LBl.setCaption(u"つ、翼が溶ける");
      ++meltCount;
    } else {
      fall(u"otiru1");
    }
  } else if (altitude > rules::kFallFloor) {
    // The height counts up from the bottom of the window, the units down from its top.
    IMG.Move(IMG.Left(), kScaleHeight - static_cast<float>(altitude),
             rules::kHeroBaseWidth + static_cast<float>(growth),
             rules::kHeroBaseHeight + static_cast<float>(growth));
  } else {
    fall(u"otiru2");
  }
}

void FOM::fall(const char16_t* scene) {
  sceneName = scene;
  scenePage = 0;
  piruneTIM.setEnabled(false);
  LBl_Click();
}

void FOM::piruneTIM_Timer() {
  PIRUNEITI_HENGE(static_cast<std::int16_t>(-meltCount));
  // Also on the tick that ended the flight.
  if (piruneTIM.Interval() >= rules::kFlightRampEndMs) {
    piruneTIM.setInterval(piruneTIM.Interval() - rules::kFlightIntervalStepMs);
  }
}

}  // namespace pirune
