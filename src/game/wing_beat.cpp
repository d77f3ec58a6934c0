// One wing beat: the only thing the player does during a flight.

#include "game/decimal.h"
#include "game/form.h"
#include "game/rules.h"

namespace pirune {

void FOM::PIRUNE_PLAY() {
  wingFrame = Byte::from((wingFrame % 2) + 1);
  IMG.setPicture(E[wingFrame - 1]->Picture());
  if (wingFrame != 2) {
    ++distance;  // the second beat of each pair carries him one unit on
    LBl.setCaption(decimal(distance));

    const bool goal =
        endlessMode() ? distance == rules::kEndlessGoalDistance : distance == rules::kGoalDistance;
    if (goal) {
      sceneName = u"end";
      scenePage = 0;
      LBl.setVisible(true);
      SEimg.setVisible(true);
      IMG.setVisible(false);
      piruneTIM.setEnabled(false);
      SHPTIM.setEnabled(false);
      LBl.setForeColor(kRed);
      LBl.setAlignment(Alignment::Center);
      LBl_Click();
      return;
    }
    if (endlessMode() && distance % rules::kEndlessRenewalEvery == 0) {
      altitude = rules::kStartAltitude;
      meltCount = 1;
      growth = 0;
      piruneTIM.setInterval(piruneTIM.Interval() + rules::kEndlessSlowdownMs);
      IMG.Move(IMG.Left(), IMG.Top(), rules::kHeroBaseWidth, rules::kHeroBaseHeight);
      return;
    }
    if (distance % rules::kGrowthEvery == 0) {
      ++growth;
    }
  }
  PIRUNEITI_HENGE(rules::kWingLift);
}

void FOM::IMG_Click() { PIRUNE_PLAY(); }

void FOM::Form_MouseDown(std::int16_t /*Button*/, std::int16_t /*Shift*/, float /*X*/,
                         float /*Y*/) {
  PIRUNE_PLAY();
}

}  // namespace pirune
