// The world ranking in the session: a token only for endless flights where a world ranking is
// offered, the offer only for a named place past 30 that holds its token, and no box in flight.

#include <gtest/gtest.h>

#include "support/live_session.h"

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

}  // namespace
}  // namespace pirune::testing
