// The menu bar's commands: help, version, the three options, the fresh start and the ranking.

#include "game/form.h"
#include "ranking/ranking_message.h"

namespace pirune {

void FOM::playmnu1_Click(std::int16_t Index) {
  if (Index == 0) {
    showMessage(
        u"マウスクリックでピルネが羽ばたきます。\r\n飛びすぎると羽が溶けて\r\n"
        u"ピルネノ飛行ダウン率が上がります。\r\n下がりすぎると死にます。\r\n"
        u"オプションの無限メニュウで\r\n何処までも飛んでいくことが出来ます。\r\n"
        u"（コンピューターの限界まで）");
  } else if (Index == 1) {
    showMessage(u"ピルネノ翼ver1.00\r\nby the ピルネノ翼 project");
  }
}

void FOM::mnu1_Click(std::int16_t Index) {
  if (Index < 0 || Index > 2) {
    return;
  }
  MenuItem& item = *mnu1[static_cast<std::size_t>(Index)];
  item.setChecked(!item.Checked());
  if (Index == 0) {
    if (musicOn()) {
      MMC.Command("prev");
      MMC.Command("play");
      MMCTIM.setEnabled(true);
    } else {
      MMC.Command("stop");
      MMCTIM.setEnabled(false);
    }
  } else if (Index == 2 && inFlight()) {
    showShapes(effectOn());
    SHPTIM.setEnabled(effectOn());
  }
}

void FOM::mnu2_Click() { Form_Activate(); }

void FOM::mnu3_Click() { showMessage(rankingMessage(rankTable)); }

}  // namespace pirune
