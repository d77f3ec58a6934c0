// The window as it is designed: its controls in their design order, their design properties,
// the menu tree, and which procedure answers each event.

#include <string>

#include "game/form.h"
#include "ranking/rank_record.h"

namespace pirune {

namespace {

std::unique_ptr<MenuItem> makeItem(std::u16string caption, bool checked, bool checkable) {
  return std::make_unique<MenuItem>(std::move(caption), checked, checkable);
}

// The design draws element 1 of the wing array first, behind element 0.
std::array<Image*, 2> makeWingStore(WindowModel& window) {
  Image& wing2 = window.addImage("E(1)", false);
  Image& wing1 = window.addImage("E(0)", false);
  return {&wing1, &wing2};
}

}  // namespace

FOM::FOM(Platform& platform)
    : platform_(platform),
      timers([&platform] { return platform.nowMs(); }),
      MMCTIM(timers, "MMCTIM", 0, true, false),
      MMC(platform.music()),
      piruneTIM(timers, "piruneTIM", 0, true, true),
      SHPTIM(timers, "SHPTIM", 1, true, true),
      E(makeWingStore(window)),
      LBl(window.addLabel("LBl")),
      SEimg(window.addImage("SEimg", true)),
      SHP{&window.addShape("SHP(0)")},
      IMG(window.addImage("IMG", true)),
      playmnu(u"メニュウ", false, false),
      mnu(u"オプション", false, false),
      mnu2(u"初期化スタート", false, false),
      mnu3(u"ランキング", false, false) {
  for (Image* wing : E) {
    wing->setVisible(false);
  }
  E[0]->Move(8, 96, 100, 100);
  E[1]->Move(8, 72, 100, 100);
  E[0]->setPicture(platform.designPicture(DesignPicture::WingFrame1));
  E[1]->setPicture(platform.designPicture(DesignPicture::WingFrame2));

  LBl.Move(112, 40, 73, 73);
  LBl.setCaption(u"Label1");
  LBl.setForeColor(kBlack);
  SEimg.Move(48, 64, 65, 81);
  SHP[0]->Move(8, 16, 41, 57);
  SHP[0]->setBackColor(kRed);
  IMG.Move(120, 40, 65, 57);

  playmnu1 = {makeItem(u"遊び方", false, false), makeItem(u"バージョン", false, false)};
  mnu1 = {makeItem(u"ＢＧＭ", true, true), makeItem(u"無限モード", true, true),
          makeItem(u"背景効果", true, true)};
  for (std::int16_t i = 0; i < 2; ++i) {
    playmnu.add(*playmnu1[i]);
    playmnu1[i]->onClick = [this, i] { playmnu1_Click(i); };
  }
  for (std::int16_t i = 0; i < 3; ++i) {
    mnu.add(*mnu1[i]);
    mnu1[i]->onClick = [this, i] { mnu1_Click(i); };
  }
  mnu2.onClick = [this] { mnu2_Click(); };
  mnu3.onClick = [this] { mnu3_Click(); };
  menuBar.top = {&playmnu, &mnu, &mnu2, &mnu3};

  MMCTIM.onTick = [this] { MMCTIM_Timer(); };
  piruneTIM.onTick = [this] { piruneTIM_Timer(); };
  SHPTIM.onTick = [this] { SHPTIM_Timer(); };
}

FOM::~FOM() = default;

}  // namespace pirune
