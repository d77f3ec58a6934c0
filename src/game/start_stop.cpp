// The program's life: what the window does once when it is made, and once when it closes.

#include "game/form.h"
#include "game/rules.h"

namespace pirune {

void FOM::Form_Load() {
  basePath = platform_.programFolder();
  if (basePath.empty() || basePath.back() != '/') {
    basePath += '/';
  }
  platform_.seedRandomFromClock();

  // Square on the outside, half the screen high; the desktop centres it when it is shown.
  platform_.setOuterHeight(platform_.screenHeight() / 2);
  platform_.setOuterWidth(platform_.outerHeight());

  LBl.setFontSize(13);
  LBl.Move(0, 0, kScaleWidth, kScaleHeight);
  SEimg.Move(0, 0, kScaleWidth, kScaleHeight);
  IMG.Move(0, static_cast<float>(altitude), rules::kHeroBaseWidth + static_cast<float>(growth),
           rules::kHeroBaseHeight + static_cast<float>(growth));
  IMG.ZOrder(1);

  MMC.FileName = basePath + "o.wav";
  MMC.Command("open");
  MMCTIM.setInterval(static_cast<int>(MMC.Length()));

  for (int i = 1; i <= 3; ++i) {
    SHP.push_back(&window.addShapeLike(*SHP[0], "SHP(" + std::to_string(i) + ")"));
  }
  endlessItem().setChecked(false);

  RANKING_LOAD();
}

void FOM::Form_Unload(std::int16_t& /*Cancel*/) {
  MMC.Command("close");
  RANKING_SAVE();
}

}  // namespace pirune
