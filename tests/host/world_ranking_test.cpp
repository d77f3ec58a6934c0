// The world ranking in the session: a token only for endless flights where a world ranking is
// offered, the offer only for a named place past 30 that holds its token, and no box in flight;
// its menu as the shell has it, the server's address given there where the player chooses it.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <tuple>
#include <utility>
#include <vector>

#include "support/live_session.h"
#include "support/sized_picture.h"

namespace pirune::testing {
namespace {

TEST(WorldRanking, TokensOffersAndWordsComeOnlyWhenTheyShould) {
  struct Case {
    const char* what;
    bool offered, endless, token;
    std::int16_t distance;
    bool yes;
    int tokens, asked, sent;
    bool wokenInBox = false;  // the shell wakes the game while the name box is open
  };
  for (const Case& c : {Case{"named at 40, sent", true, true, true, 40, true, 1, 1, 1},
                        Case{"woken in the name box", true, true, true, 40, true, 1, 1, 1, true},
                        Case{"the player says no", true, true, true, 40, false, 1, 1, 0},
                        Case{"no token came", true, true, false, 40, true, 1, 0, 0},
                        Case{"not past 30", true, true, true, 25, true, 1, 0, 0},
                        Case{"not endless", true, false, true, 40, true, 0, 0, 0},
                        Case{"no world ranking here", false, true, true, 40, true, 0, 0, 0}}) {
    LiveSession live;
    live.shell.world = c.offered;
    live.shell.yes = {c.yes};
    if (c.endless) {
      live.session.menuCommand(kEndlessItem);
    }
    live.startFlight();
    if (c.token) {
      live.session.flightTokenArrived("t0");
    }
    live.form().distance = c.distance;
    live.platform.answers.emplace_back(u"ABC");
    if (c.wokenInBox) {
      live.platform.whileBoxOpen = [&] { live.session.tick(); };
    }
    live.session.menuCommand(kNewGameItem);
    live.platform.whileBoxOpen = nullptr;
    EXPECT_EQ(live.shell.tokensAsked, c.tokens) << c.what;
    EXPECT_EQ(live.shell.asked, c.asked) << c.what;
    EXPECT_EQ(live.shell.sent, std::vector<std::string>(c.sent, "t0 ABC")) << c.what;

    // The server's word waits while the next flight is on.
    live.startFlight();
    const std::size_t boxes = live.platform.boxes.size();
    live.session.flightSent({WorldReply::Kind::Placed, 3, 40, ""});
    EXPECT_EQ(live.platform.boxes.size(), boxes) << c.what;
    live.session.menuCommand(kNewGameItem);
    EXPECT_EQ(live.platform.boxes.back().text, u"世界ランキングの 3 位に入りました（距離 40）");
  }
}

// A shell where the player gives the server's address; giving one makes the ranking offered.
struct ChoosingShell : DrivingShell {
  bool choosable = false;
  std::function<bool()> held;
  std::vector<bool> heldWhileChosen;
  bool worldServerChoosable() override { return choosable; }
  void chooseWorldServer() override {
    heldWhileChosen.push_back(held());
    world = true;
  }
};

TEST(WorldRanking, ItsMenuHasTheAddressWhereThePlayerGivesIt) {
  // The sixth menu at the start, once an address is given, and in a flight; "-": locked.
  struct Case {
    bool offered, choosable;
    std::u16string atStart, given, inFlight;
  };
  for (const Case& c : {Case{false, false, u"", u"", u""},
                        Case{true, false, u"世界ランキングを見る ", u"", u"世界ランキングを見る- "},
                        Case{false, true, u"世界ランキングを見る- サーバーのアドレス… ",
                             u"世界ランキングを見る サーバーのアドレス… ",
                             u"世界ランキングを見る- サーバーのアドレス…- "}}) {
    ScriptedPlatform platform;
    ChoosingShell shell;
    shell.clock = &platform.clock;
    std::tie(shell.world, shell.choosable) = std::pair(c.offered, c.choosable);
    HostSession session(platform, shell, tenPixelFont());
    shell.held = [&] { return session.form().timers.modalOpen(); };
    session.start();
    session.resize({400, 400, 1, 1});
    session.activate();
    const auto sixth = [&] {
      std::u16string items;
      for (const MenuEntry& item : shell.menus) {
        if (item.parent >= 0 && shell.menus.at(item.parent).caption == u"世界ランキング") {
          const auto last = *std::find_if(shell.shown.rbegin(), shell.shown.rend(),
                                          [&](const MenuState& s) { return s.id == item.id; });
          items += item.caption + (last.enabled ? u" " : u"- ");
        }
      }
      return items;
    };
    EXPECT_EQ(sixth(), c.atStart);
    const auto address =
        std::ranges::find(shell.menus, u"サーバーのアドレス…", &MenuEntry::caption);
    if (address != shell.menus.end()) {
      session.menuCommand(address->id);
      EXPECT_EQ(shell.heldWhileChosen, std::vector<bool>{true});  // the game waits for the box
      EXPECT_EQ(sixth(), c.given);
    }
    for (int page = 0; page < 3; ++page) {
      session.press(MouseButton::Left, {}, 200, 200);
      session.release(MouseButton::Left, 200, 200);
    }
    EXPECT_EQ(sixth(), c.inFlight);
  }
}

}  // namespace
}  // namespace pirune::testing
