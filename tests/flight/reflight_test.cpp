// A flight played through the session, as a shell delivers it, is kept as a record; the game
// alone flies the record again to the very same state, whatever happened on the way.

#include <gtest/gtest.h>

#include <variant>

#include "flight/flight_player.h"
#include "support/live_session.h"

namespace pirune::testing {
namespace {

using flight::End;

// Everything of a flight that the player sees or that decides its outcome: the counters, the
// flight timer, the hero's and the shapes' places, sizes, colours and visibility, then the scene
// and the label's text.
using State = std::pair<std::vector<float>, std::u16string>;

State stateOf(FOM& f) {
  std::vector<float> n;
  for (const int counter : {int{f.distance}, int{f.altitude}, int{f.meltCount}, int{f.growth},
                            int{f.wingFrame}, int{f.piruneTIM.Interval()}}) {
    n.push_back(static_cast<float>(counter));
  }
  const Rect& hero = f.IMG.rect();
  n.insert(n.end(), {hero.left, hero.top, hero.width, hero.height});
  for (const Shape* shape : f.SHP) {
    const Color c = shape->BackColor();
    n.insert(n.end(), {shape->Left(), shape->Top(), shape->Width(), shape->Height(),
                       static_cast<float>(c.red * 65536 + c.green * 256 + c.blue),
                       shape->Visible() ? 1.0F : 0.0F});
  }
  return {n, f.sceneName.value_or(u"") + u"|" + f.LBl.Caption()};
}

// A steady player: looks every 40 ms and beats whenever the hero is below `keepAt`.
void fly(LiveSession& live, std::int64_t forMs, int keepAt, int x = 200, int y = 200) {
  for (std::int64_t t = 0; t < forMs && live.form().inFlight(); t += 40) {
    live.wait(40);
    if (live.form().inFlight() && live.form().altitude < keepAt) {
      live.click(x, y);
    }
  }
}

struct Played {
  std::string bytes;
  State live;  // the game as the flight ended or was left
  int beats = 0;
};

struct Case {
  const char* name;
  End end;
  bool ranks, endless;                     // endless mode switched on, on the title
  std::function<void(LiveSession&)> play;  // in flight
};

const Case kCases[] = {
    {"a fall", End::Fall, false, false,
     [](LiveSession& l) {
       fly(l, 6000, 45);
       l.wait(30000);
     }},
    {"the goal", End::Goal, false, false, [](LiveSession& l) { fly(l, 120000, 60); }},
    {"the wings melt away", End::Wings, false, false, [](LiveSession& l) { fly(l, 60000, 101); }},
    {"endless past a renewal", End::Fall, true, true,
     [](LiveSession& l) {
       while (l.form().inFlight() && l.form().distance < 55) {
         fly(l, 40, 55);
       }
       l.wait(30000);
     }},
    {"boxes, options, a resize, a stall", End::Goal, false, false,
     [](LiveSession& l) {
       fly(l, 2000, 50);
       // The help box stays open three seconds; the session's clock runs meanwhile.
       l.platform.whileBoxOpen = [&l] { l.wait(3000); };
       l.session.menuCommand(kHelpItem);
       fly(l, 1000, 50);
       l.session.menuCommand(kEffectItem);
       fly(l, 700, 50);
       l.session.menuCommand(kEffectItem);
       l.session.menuCommand(kMusicItem);
       l.session.resize({300, 500, 1, 1});
       fly(l, 1500, 50, 150, 499);
       l.stall(2500);  // the window hidden: the game waits
       fly(l, 60000, 55, 299, 0);
     }},
    {"a fresh start mid-flight", End::Open, true, true,
     [](LiveSession& l) {
       while (l.form().distance < 33) {
         fly(l, 40, 50);
       }
       l.platform.answers.emplace_back(u"ピルネ");
       l.session.menuCommand(kNewGameItem);
     }},
    {"the window closed mid-flight", End::Open, false, false,
     [](LiveSession& l) {
       fly(l, 3000, 50);
       l.session.quit();
     }},
};

Played play(const Case& c) {
  LiveSession live;
  if (c.endless) {
    live.session.menuCommand(kEndlessItem);
  }
  live.startFlight();
  Played played;
  bool flying = true;
  int wing = live.form().wingFrame;
  // The state as each call left it; the last one in flight, or the one that ended it, counts.
  live.afterEach = [&] {
    if (!flying) {
      return;
    }
    played.beats += live.form().wingFrame != wing ? 1 : 0;
    wing = live.form().wingFrame;
    played.live = stateOf(live.form());
    flying = live.form().inFlight();
  };
  c.play(live);
  played.bytes = live.lastFlight();
  return played;
}

TEST(Reflight, FliesAgainExactlyWhatTheSessionPlayed) {
  for (const Case& c : kCases) {
    const Played played = play(c);
    const auto decoded = flight::decode(played.bytes);
    ASSERT_TRUE(std::holds_alternative<flight::Record>(decoded)) << c.name;
    const flight::Record& record = std::get<flight::Record>(decoded);
    EXPECT_EQ(flight::encode(record), played.bytes) << c.name;

    flight::ReplayPlatform platform(record.musicIntervalMs);
    flight::FlightPlayer player(record, platform);
    ASSERT_FALSE(player.playUntil(record.stopAt)) << c.name;
    EXPECT_EQ(stateOf(player.form()), played.live) << c.name;

    // What the ranking's server is told: the whole check and flight again, from the bytes.
    const auto outcome = std::get<flight::Outcome>(flight::reflight(played.bytes));
    EXPECT_EQ(outcome.end, c.end) << c.name;
    EXPECT_EQ(outcome.distance, played.live.first[0]) << c.name;
    EXPECT_EQ(outcome.beats, played.beats) << c.name;
    EXPECT_EQ(outcome.rankedDistance.has_value(), c.ranks) << c.name;
    if (c.end == End::Goal) {  // 30 reached in normal mode: within two kilobytes
      EXPECT_LE(played.bytes.size(), 2048U) << c.name;
      EXPECT_TRUE(flight::outcomeJson(outcome).starts_with(
          R"({"version": 1, "endless": false, "distance": 30, "end": "goal", )"))
          << c.name;
    }
  }
}

}  // namespace
}  // namespace pirune::testing
