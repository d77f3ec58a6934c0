// A new game: the last flight goes to the ranking first, then the title screen.

#include "game/form.h"
#include "game/rules.h"

namespace pirune {

void FOM::Form_Activate() {
  RANKING_TOUROKU();
  endlessItem().setEnabled(true);
  SEimg.setPicture(platform_.loadPicture(basePath + "stt.bmp"));
  IMG.setPicture(E[0]->Picture());
  LBl.setVisible(true);
  LBl.ZOrder(0);
  LBl.setCaption(u"");
  SEimg.setVisible(true);
  IMG.setVisible(false);
  piruneTIM.setEnabled(false);
  SHPTIM.setEnabled(false);
  LBl.setForeColor(kBlack);
  LBl.setAlignment(Alignment::Center);

  sceneName = u"open";
  scenePage = 0;
  growth = 0;
  distance = 1;
  altitude = rules::kStartAltitude;
  meltCount = 1;
  wingFrame = 1;

  piruneTIM.setInterval(rules::kFlightStartIntervalMs);
  IMG.Move(0, static_cast<float>(altitude), rules::kHeroBaseWidth, rules::kHeroBaseHeight);
  for (Shape* shape : SHP) {
    scatter(*shape);
    shape->setVisible(false);
  }
}

}  // namespace pirune
