#include "host/session.h"

#include <algorithm>
#include <exception>
#include <utility>

#include "game/decimal.h"
#include "game/runtime_error.h"
#include "ranking/ranking_message.h"
#include "ranking/scr_dat.h"

namespace pirune {

namespace {

// Counts the calls into the game that are running: a box inside one lets others in.
class Depth {
 public:
  explicit Depth(int& depth) : depth_(++depth) {}
  Depth(const Depth&) = delete;
  Depth& operator=(const Depth&) = delete;
  Depth(Depth&&) = delete;
  Depth& operator=(Depth&&) = delete;
  ~Depth() { --depth_; }

 private:
  int& depth_;
};

}  // namespace

HostSession::HostSession(Platform& platform, HostShell& shell, FontMetrics fonts, RankingKept kept)
    : platform_(platform),
      shell_(shell),
      kept_(kept),
      planner_(std::move(fonts)),
      flights_(platform) {}

HostSession::~HostSession() = default;

bool HostSession::call(const std::function<void()>& procedure, std::int64_t leadMs) {
  // Before the game has started there is nothing to call into.
  return started() && run([&] {
           advanceGame(leadMs);
           noteFlight();
           procedure();
           noteFlight();
         });
}

std::int64_t HostSession::gameNow() const { return platform_.nowMs() - paused_; }

void HostSession::advanceGame(std::int64_t leadMs) {
  if (watch_) {
    return;  // the live game waits while a flight is watched
  }
  TimerScheduler& timers = form_->timers;
  if (const auto due = timers.nextDue(); due && gameNow() - *due > kStallMs) {
    paused_ += gameNow() - *due;
  }
  timers.advance(gameNow(), leadMs);
}

void HostSession::noteFlight() {
  if (watch_) {
    return;
  }
  // Before the first new game there is no scene at all, and no flight.
  const bool flying = form_->sceneName && form_->inFlight();
  // A flight begins with a click, never inside a box: a box that a new game opens (the
  // ranking's name) still shows the flight it ended, and a shell may wake the game meanwhile.
  if (flying && !recorder_.recording() && !form_->timers.modalOpen()) {
    recorder_.begin(*form_, platform_, client_);
    if (world_.flightBegan(form_->endlessMode(), shell_.worldRankingOffered())) {
      shell_.requestFlightToken();
    }
  } else if (!flying && recorder_.recording()) {
    endFlight(flight::Stop::Ended);
  }
}

void HostSession::endFlight(flight::Stop stop) {
  flights_.keepLast(recorder_.finish(stop, form_->timers.now()),
                    static_cast<std::int16_t>(form_->distance));
}

bool HostSession::run(const std::function<void()>& procedure) {
  if (failed_) {
    return false;
  }
  const bool outermost = depth_ == 0;
  const RankTable before = form_ ? form_->rankTable : RankTable{};
  // The box is shown once the error has been caught and left behind: a box waits for the
  // player, which is no place to hold an exception in flight.
  std::optional<std::string> error;
  try {
    const Depth depth(depth_);
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
  // A name given in the ranking's box is known once the outermost call has returned.
  if (outermost && form_) {
    flights_.rankingChanged(before, form_->rankTable);
    if (before != form_->rankTable && !recorder_.recording()) {
      offer_ = world_.rankingChanged(flights_.last());
    }
  }
  catchUp();
  if (outermost) {
    speakForWorld();
  }
  return true;
}

void HostSession::fail(const std::string& message) {
  failed_ = true;
  if (form_ && recorder_.recording()) {
    endFlight(flight::Stop::Closed);
  }
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
    updateReplayMenu();
    for (const MenuState& change : menus_->take()) {
      shell_.showMenuItem(change);
    }
  }
  const auto due = watch_ ? watch_->nextChange() : form_->timers.nextDue();
  shell_.armTimer(due ? std::optional(std::max<std::int64_t>(*due - kTickLeadMs - gameNow(), 0))
                      : std::nullopt);
  if (!client_.rect().empty()) {
    const Region changed = takeDamage();
    if (!changed.empty()) {
      shell_.invalidate(changed);
    }
  }
}

Region HostSession::takeDamage() {
  return damage_.take(shownForm().window, client_,
                      [this](const Label& label) { return planner_.ink(label, client_); });
}

bool HostSession::start() {
  const bool loaded = run([this] {
    form_ = std::make_unique<FOM>(platform_);
    form_->Form_Load();
    // What start-up read is what is stored: nothing to store until the ranking changes.
    stored_ = encodeRanking(form_->rankTable);
    flights_.load();
  });
  if (!loaded) {
    return false;
  }
  form_->timers.setClock([this] { return gameNow(); });
  form_->timers.onModal = [this](bool open) {
    if (!recorder_.recording()) {
      return;
    }
    if (open) {
      holdFrom_ = form_->timers.now();
    } else {
      recorder_.hold(holdFrom_, form_->timers.now());
    }
  };
  buildReplayMenu();
  MenuBar bar = form_->menuBar;
  bar.top.push_back(&replay_.menu);
  const bool choosable = shell_.worldServerChoosable();
  if (choosable || shell_.worldRankingOffered()) {
    worldMenu_.view.onClick = [this] { shell_.showWorldRanking(); };
    worldMenu_.menu.add(worldMenu_.view);
    if (choosable) {
      worldMenu_.address.onClick = [this] {
        const ModalScope held(form_->timers);
        shell_.chooseWorldServer();
      };
      worldMenu_.menu.add(worldMenu_.address);
    }
    bar.top.push_back(&worldMenu_.menu);
  }
  menus_ = std::make_unique<MenuChanges>(bar);
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

void HostSession::press(MouseButton button, HeldKeys keys, int x, int y) {
  if (watch_) {
    stopWatching();  // a click ends the watching, and is no wing beat
    return;
  }
  const std::int16_t shift = shiftState(keys);
  call([&] {
    if (recorder_.recording()) {
      recorder_.press(form_->timers.now(), button, shift, x, y);
    }
    form_->pointerPressed(button, shift, pixelToUnits(x, client_.width, kScaleWidth),
                          pixelToUnits(y, client_.height, kScaleHeight));
  });
}

void HostSession::release(MouseButton button, int x, int y) {
  if (watch_) {
    return;
  }
  call([&] {
    if (recorder_.recording()) {
      recorder_.release(form_->timers.now(), button, x, y);
    }
    form_->pointerReleased(button, pixelToUnits(x, client_.width, kScaleWidth),
                           pixelToUnits(y, client_.height, kScaleHeight));
  });
}

void HostSession::escape() { stopWatching(); }

void HostSession::tick() {
  if (watch_) {
    watchTick();
  } else {
    call([] {}, kTickLeadMs);
  }
}

void HostSession::menuCommand(int id) {
  MenuItem* item = menus_ ? menus_->item(id) : nullptr;
  if (item == nullptr || !item->onClick) {
    return;
  }
  // A toolkit may have flipped the item's check mark itself: the game's mark is shown again.
  menus_->forget(id);
  // A menu command ends the watching of a flight, then is carried out on the live game.
  stopWatching();
  if (!item->Enabled()) {
    catchUp();
    return;
  }
  call([this, item] {
    if (recorder_.recording()) {
      const std::int64_t now = form_->timers.now();
      if (item == form_->mnu1[0].get()) {
        recorder_.option(now, 0);
      } else if (item == form_->mnu1[2].get()) {
        recorder_.option(now, 2);
      } else if (item == &form_->mnu2) {
        endFlight(flight::Stop::NewGame);
      }
    }
    item->onClick();
  });
}

bool HostSession::quit() {
  stopWatching();
  std::int16_t cancel = 0;  // the game never refuses to close
  return call([this, &cancel] {
    if (recorder_.recording()) {
      endFlight(flight::Stop::Closed);
    }
    form_->Form_Unload(cancel);
  });
}

void HostSession::resize(const ClientGeometry& client) {
  if (form_ && recorder_.recording() && client != client_) {
    recorder_.resize(form_->timers.now(), client);
  }
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
  return planner_.plan(shownForm().window, client_, region);
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
  waitFor([&] { platform_.messageBox(kAppTitle, text); });
}

void HostSession::waitFor(const std::function<void()>& box) {
  call([&] {
    const ModalScope held(form_->timers);
    box();
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
      // The file as the player brought it, with whatever it holds after its records.
      form_->rankTable = offered;
      platform_.replaceRanking(std::string(bytes));
      stored_ = encodeRanking(offered);
    }
  });
}

// ---- the world ranking ------------------------------------------------------------------

void HostSession::flightTokenArrived(std::string token) { world_.tokenArrived(std::move(token)); }

void HostSession::flightSent(const WorldReply& reply) {
  worldWord_ = WorldRanking::replyText(reply);
  speakForWorld();
}

void HostSession::worldRankingUnreachable() {
  worldWord_ = WorldRanking::unreachableText();
  speakForWorld();
}

void HostSession::speakForWorld() {
  // Play is never held up: a box waits until the flight has ended.
  if (!started() || failed_ || recorder_.recording()) {
    return;
  }
  if (const auto offer = std::exchange(offer_, std::nullopt)) {
    bool yes = false;
    call([&] {
      const ModalScope held(form_->timers);
      yes = shell_.confirm(WorldRanking::offerText(*offer));
    });
    if (yes && !failed_) {
      shell_.sendFlight(offer->token, offer->name, offer->record);
    }
  }
  if (const auto word = std::exchange(worldWord_, std::nullopt)) {
    tell(*word);
  }
}

// ---- watching a flight -------------------------------------------------------------------

void HostSession::buildReplayMenu() {
  replay_.last.onClick = [this] { watchKept(flights_.last()); };
  for (std::size_t place = 0; place < kRankCount; ++place) {
    auto& item = replay_.ranked.at(place);
    item = std::make_unique<MenuItem>(
        decimal(static_cast<long long>(place) + 1) + u"位の飛行を見る", false, false);
    item->onClick = [this, place] { watchKept(flights_.ranked(place, form_->rankTable)); };
  }
  replay_.open.onClick = [this] { shell_.chooseFlightFile(); };
  replay_.save.onClick = [this] {
    if (const auto& last = flights_.last()) {
      const auto flown = flight::reflight(*last);
      const auto* outcome = std::get_if<flight::Outcome>(&flown);
      shell_.saveFlightFile(
          "pirune-" + (outcome ? std::to_string(outcome->distance) : std::string("flight")) +
              ".pflight",
          *last);
    }
  };
  replay_.menu.add(replay_.last);
  for (const auto& item : replay_.ranked) {
    replay_.menu.add(*item);
  }
  replay_.menu.add(replay_.open);
  replay_.menu.add(replay_.save);
}

void HostSession::updateReplayMenu() {
  // During a flight there is nothing to watch: the player is flying.
  const bool free = !recorder_.recording();
  replay_.last.setEnabled(free && flights_.last().has_value());
  const std::array<bool, kRankCount> offered =
      free ? flights_.offered(form_->rankTable) : std::array<bool, kRankCount>{};
  for (std::size_t place = 0; place < kRankCount; ++place) {
    replay_.ranked.at(place)->setEnabled(offered.at(place));
  }
  replay_.open.setEnabled(free);
  replay_.save.setEnabled(free && flights_.last().has_value());
  // The address may change between flights only: a flight's token is its own server's.
  worldMenu_.view.setEnabled(free && shell_.worldRankingOffered());
  worldMenu_.address.setEnabled(free);
}

void HostSession::watchKept(const std::optional<std::string>& bytes) {
  if (bytes) {
    watch(*bytes);
  }
}

void HostSession::watch(std::string_view bytes) {
  if (!started() || failed_) {
    return;
  }
  stopWatching();
  if (recorder_.recording()) {
    tell(u"飛行中はリプレイを見られません。");
    return;
  }
  run([&] {
    auto started = FlightWatch::start(bytes, platform_, gameNow());
    if (auto* refused = std::get_if<flight::Refusal>(&started)) {
      const ModalScope held(form_->timers);
      platform_.messageBox(kAppTitle, u"この記録は見られません。\n" +
                                          std::u16string(flight::reasonText(refused->reason)));
      return;
    }
    platform_.music().stop();
    watch_ = std::move(std::get<std::unique_ptr<FlightWatch>>(started));
    watchFrom_ = gameNow();
    damage_.forget();
    shell_.showWatching(watch_->status());
  });
}

void HostSession::watchTick() {
  const std::u16string before = watch_->status();
  run([this] { watch_->playTo(gameNow() + kTickLeadMs); });
  if (watch_ && watch_->status() != before) {
    shell_.showWatching(watch_->status());
  }
}

void HostSession::stopWatching() {
  if (!watch_) {
    return;
  }
  watch_.reset();
  paused_ += gameNow() - watchFrom_;
  // The live game's music as its option says, from the start of the tune.
  platform_.music().stop();
  if (form_->musicOn() && form_->MMCTIM.Enabled()) {
    platform_.music().rewind();
    platform_.music().play();
    form_->MMCTIM.setEnabled(false);
    form_->MMCTIM.setEnabled(true);
  }
  damage_.forget();
  shell_.showWatching(std::nullopt);
  catchUp();
}

}  // namespace pirune
