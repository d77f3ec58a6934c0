// One wing beat: the only thing the player does during a flight.

#include "game/form.h"

namespace pirune {

void FOM::PIRUNE_PLAY() {
  wingFrame = Byte::from((wingFrame % 2) + 1);
  IMG.setPicture(E[wingFrame - 1]->Picture());
  if (wingFrame != 2) {
    ++distance;  // one unit of distance per two beats
    LBl.setCaption(decimal(distance));

    const bool goal = (distance == 30 && !endlessMode()) || (distance == 30000 && endlessMode());
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
    if (endlessMode() && distance % 50 == 0) {
      // An endless flight is renewed every 50 units: fresh wings, normal size, mid-height.
      altitude = 50;
      meltCount = 1;
      growth = 0;
      piruneTIM.setInterval(piruneTIM.Interval() + 200);
      IMG.Move(IMG.Left(), IMG.Top(), 10, 30);
      return;
    }
    if (distance % 2 == 0) {
      ++growth;
    }
  }
  PIRUNEITI_HENGE(3);
}

void FOM::IMG_Click() { PIRUNE_PLAY(); }

void FOM::Form_MouseDown(std::int16_t /*Button*/, std::int16_t /*Shift*/, float /*X*/,
                         float /*Y*/) {
  PIRUNE_PLAY();
}

}  // namespace pirune
