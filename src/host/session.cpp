#include "host/session.h"

#include <algorithm>
#include <exception>
#include <utility>

#include "game/decimal.h"
#include "game/runtime_error.h"
#include "ranking/ranking_message.h"
#include "ranking/scr_dat.h"

namespace pirune {

HostSession::HostSession(Platform& platform, HostShell& shell, FontMetrics fonts, RankingKept kept)
    : platform_(platform), shell_(shell), kept_(kept), planner_(std::move(fonts)) {}

HostSession::~HostSession() = default;

bool HostSession::call(const std::function<void()>& procedure) {
  // Before the game has started there is nothing to call into.
  return started() && run(procedure);
}

bool HostSession::run(const std::function<void()>& procedure) {
  if (failed_) {
    return false;
  }
  // The box is shown once the error has been caught and left behind: a box waits for the
  // player, which is no place to hold an exception in flight.
  std::optional<std::string> error;
  try {
    procedure();
    if (kept_ == RankingKept::AfterEveryChange && form_ && form_->rankingToSave()) {
      const std::string records = encodeRanking(form_->rankTable);
      if (records != stored_) {
        platform_.storeRanking(records);
        stored_ = records;
      }
    }
  } catch (const RuntimeError& caught) {
    error = caught.what();
  } catch (const std::exception& caught) {
    error = std::string("予期しないエラーが起きました: ") + caught.what();
  }
  if (error) {
    fail(*error);
    return false;
  }
  catchUp();
  return true;
}

void HostSession::fail(const std::string& message) {
  failed_ = true;
  shell_.armTimer(std::nullopt);
  shell_.reportError(message);
  if (form_) {
    try {
      form_->RANKING_SAVE();
    } catch (const std::exception& error) {
      shell_.reportError(error.what());
    }
  }
  shell_.end(kFailureStatus);
}

void HostSession::catchUp() {
  if (!form_) {
    return;
  }
  if (menus_) {
    for (const MenuState& change : menus_->take()) {
      shell_.showMenuItem(change);
    }
  }
  const auto due = form_->timers.nextDue();
  shell_.armTimer(due ? std::optional(std::max<std::int64_t>(*due - form_->timers.now(), 0))
                      : std::nullopt);
  if (!client_.rect().empty()) {
    const Region changed = takeDamage();
    if (!changed.empty()) {
      shell_.invalidate(changed);
    }
  }
}

Region HostSession::takeDamage() {
  return damage_.take(form_->window, client_,
                      [this](const Label& label) { return planner_.ink(label, client_); });
}

bool HostSession::start() {
  const bool loaded = run([this] {
    form_ = std::make_unique<FOM>(platform_);
    form_->Form_Load();
    // What start-up read is what is stored: nothing to store until the ranking changes.
    stored_ = encodeRanking(form_->rankTable);
  });
  if (!loaded) {
    return false;
  }
  menus_ = std::make_unique<MenuChanges>(form_->menuBar);
  shell_.buildMenus(menus_->entries());
  catchUp();
  return true;
}

void HostSession::activate() {
  // The window is activated once in the program's life; coming back to it is no new game.
  if (started() && !std::exchange(activated_, true)) {
    call([this] { form_->Form_Activate(); });
  }
}

void HostSession::press(MouseButton button, std::int16_t shift, float x, float y) {
  call([&] { form_->pointerPressed(button, shift, x, y); });
}

void HostSession::release(MouseButton button, float x, float y) {
  call([&] { form_->pointerReleased(button, x, y); });
}

void HostSession::tick(std::int64_t leadMs) {
  call([this, leadMs] { form_->timers.fireDue(leadMs); });
}

void HostSession::menuCommand(int id) {
  MenuItem* item = menus_ ? menus_->item(id) : nullptr;
  if (item == nullptr || !item->onClick) {
    return;
  }
  // A toolkit may have flipped the item's check mark itself: the game's mark is shown again.
  menus_->forget(id);
  if (item->Enabled()) {
    call(item->onClick);
  } else {
    catchUp();
  }
}

bool HostSession::quit() {
  std::int16_t cancel = 0;  // the game never refuses to close
  return call([this, &cancel] { form_->Form_Unload(cancel); });
}

void HostSession::resize(const ClientGeometry& client) {
  client_ = client;
  if (form_ && !failed_) {
    catchUp();
  } else if (form_) {
    // After an error the window still shows what it last showed.
    shell_.invalidate(takeDamage());
  }
}

std::vector<PaintStep> HostSession::paint(const Region& region) {
  if (!form_) {
    return {};
  }
  return planner_.plan(form_->window, client_, region);
}

void HostSession::keepRanking() {
  if (!form_) {
    return;
  }
  if (failed_) {
    // While the box of a run-time error is open the game's last save is still to come.
    try {
      form_->RANKING_SAVE();
    } catch (const std::exception&) {
      // The error's own box is still open; the save's failure is the one it reports next.
    }
    return;
  }
  call([] {});
}

void HostSession::tell(const std::u16string& text) {
  call([&] {
    const ModalScope held(form_->timers);
    platform_.messageBox(kAppTitle, text);
  });
}

void HostSession::offerRanking(std::string_view bytes,
                               const std::function<bool(const std::u16string& text)>& confirm) {
  call([&] {
    if (!form_->rankingToSave()) {
      return;
    }
    if (bytes.empty() || bytes.size() > kLargestRankingFile) {
      const std::u16string why = bytes.empty()
                                     ? u"ファイルが空です。"
                                     : u"ランキングのファイルにしては大きすぎます（" +
                                           decimal(static_cast<long long>(kLargestRankingFile)) +
                                           u" バイトを超えています）。";
      const ModalScope held(form_->timers);
      platform_.messageBox(kAppTitle, withLineFeeds(u"scr.dat を読み込めません。\r\n" + why +
                                                    u"\r\nランキングは前のままです。"));
      return;
    }
    const RankTable offered = decodeRanking(bytes);
    bool accepted = false;
    {
      // The game's timers wait while the player reads the file's ranking.
      const ModalScope held(form_->timers);
      accepted =
          confirm(withLineFeeds(u"読み込んだ scr.dat のランキングです。" + rankingMessage(offered) +
                                u"\r\n\r\nOK でこのランキングに入れ替えます。"));
    }
    if (accepted) {
      form_->rankTable = offered;
      const std::string records = encodeRanking(offered);
      platform_.storeRanking(records);
      stored_ = records;
    }
  });
}

}  // namespace pirune
