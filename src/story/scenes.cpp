// The story told around each flight, page by page: the opening before it, and the ending or
// one of the two falls after it. A click on the label turns the page; during a flight it is a
// wing beat instead.

#include <string>
#include <string_view>

#include "game/decimal.h"
#include "game/form.h"

namespace pirune {

namespace {

enum class PageAction { Nothing, ShowPage, StartFlight, WingBeat, NewGame };

struct Page {
  PageAction action = PageAction::Nothing;
  const char* picture = nullptr;  // nullptr leaves the story picture as it is
  const char16_t* text = nullptr;
};

constexpr char16_t kOpen0[] =
    u"\r\nあるところに\r\nとおいい　よるのほしぞらに\r\nあこがれをもった　せいねんが　いました。";
constexpr char16_t kOpen1[] =
    u"\r\nそこで\r\nせいねんは　ろうではねをつくり　\r\nうちゅうへと　とびだったのです。";
constexpr char16_t kEnd0[] = u"\r\nほしにおりたつと\r\nそこは\r\nあれはてた　さばくの　ちでした";
constexpr char16_t kEnd1[] =
    u"\r\nせいねんの　あこがれた\r\nきらきらひかる　あのほしは\r\nとおいいところでしか\r\n"
    u"みられないものだったのです";
constexpr char16_t kWingsGone[] = u"翼がなくなった\r\n「もう・・・飛べない」";
constexpr char16_t kFallen[] =
    u"望みも達せられぬまま\r\n死んでしまった青年の魂は\r\n永久に宇宙を彷徨うのです。";

Page pageOf(std::u16string_view scene, int page) {
  if (scene.empty()) {
    return {PageAction::WingBeat};
  }
  if (scene == u"open") {
    switch (page) {
      case 0: return {PageAction::ShowPage, "open0.bmp", kOpen0};
      case 1: return {PageAction::ShowPage, "open1.bmp", kOpen1};
      case 2: return {PageAction::StartFlight};
      default: return {};
    }
  }
  if (scene == u"end") {
    switch (page) {
      case 0: return {PageAction::ShowPage, "end0.bmp", kEnd0};
      case 1:
      case 2: return {PageAction::ShowPage, "end1.bmp", kEnd1};
      case 3: return {PageAction::NewGame};
      default: return {};
    }
  }
  if (scene == u"otiru1" || scene == u"otiru2") {
    if (page == 0) {
      return {PageAction::ShowPage, nullptr, scene == u"otiru1" ? kWingsGone : kFallen};
    }
    if (page <= 3) {
      return {PageAction::NewGame};
    }
  }
  return {};
}

}  // namespace

void FOM::LBl_Click() {
  const Page page = pageOf(sceneName.value_or(u""), scenePage);
  switch (page.action) {
    case PageAction::ShowPage:
      if (page.picture != nullptr) {
        SEimg.setPicture(platform_.loadPicture(basePath + page.picture));
      }
      LBl.setCaption(page.text);
      break;
    case PageAction::StartFlight: startFlight(); break;
    case PageAction::WingBeat: PIRUNE_PLAY(); break;
    case PageAction::NewGame: Form_Activate(); return;
    case PageAction::Nothing: break;
  }
  // Asked again: a wing beat may just have ended the flight and started a closing scene.
  if (!inFlight()) {
    ++scenePage;
  }
}

void FOM::startFlight() {
  sceneName = u"";
  SEimg.setVisible(false);
  IMG.setVisible(true);
  piruneTIM.setEnabled(true);
  LBl.setForeColor(kWhite);
  LBl.setAlignment(Alignment::Left);
  LBl.setCaption(decimal(distance));
  endlessItem().setEnabled(false);
  if (effectOn()) {
    SHPTIM.setEnabled(true);
    showShapes(true);
  }
}

}  // namespace pirune
