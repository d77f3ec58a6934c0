// The session around the game: every call under the one error policy, then the shell caught up;
// the ranking's bytes stored as the shell wants them, and never read back during a run.

#include "host/session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "support/live_session.h"
#include "support/scripted_platform.h"
#include "support/sized_picture.h"

namespace pirune::testing {
namespace {

using namespace std::string_literals;
using Log = std::vector<std::string>;

struct Visit {
  DrivingShell shell;
  ScriptedPlatform platform;
  HostSession session;

  explicit Visit(RankingKept kept = RankingKept::AfterEveryChange)
      : session(platform, shell, tenPixelFont(), kept) {
    shell.clock = &platform.clock;
    platform.stores = &shell.log;
  }

  void click() {
    session.press(MouseButton::Left, {}, 50, 50);
    session.release(MouseButton::Left, 50, 50);
  }
};

// The first place as scr.dat holds it.
std::string scrDatOf(const ScriptedPlatform& platform) {
  std::ifstream in(platform.folder / "scr.dat", std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {}).substr(0, 12);
}

TEST(Session, TheStartBuildsTheMenusAndEachCallCatchesTheShellUp) {
  Visit visit;
  visit.click();  // before the start: no game to reach
  ASSERT_TRUE(visit.session.start());
  visit.session.activate();
  ASSERT_EQ(visit.shell.menus.size(), 18U);  // the game's nine, then the replays
  EXPECT_EQ(visit.shell.menus[kEndlessItem],
            (MenuEntry{kEndlessItem, 3, u"無限モード", true, false}));
  // The music's restart, one length after the start, woken half a frame early.
  EXPECT_EQ(visit.shell.delay, 30000 - kTickLeadMs);
  EXPECT_TRUE(visit.shell.invalid.empty());  // no client area known yet
  visit.session.resize({200, 200, 1, 1});
  EXPECT_EQ(visit.shell.invalid.bounds(), (PixelRect{0, 0, 200, 200}));
  for (int page = 0; page < 3; ++page) {
    visit.click();
  }
  // A flight greys out endless mode, and the background effect ticks at the frame's floor.
  const auto endless = std::find_if(visit.shell.shown.rbegin(), visit.shell.shown.rend(),
                                    [](const MenuState& m) { return m.id == kEndlessItem; });
  EXPECT_EQ(*endless, (MenuState{kEndlessItem, false, false}));
  EXPECT_LE(visit.shell.delay.value_or(-1), TimerScheduler::kMinimumPeriodMs);
  EXPECT_TRUE(visit.shell.log.empty());
}

TEST(Session, ARunTimeErrorIsReportedThenTheRankingSavedOnceThenTheGameEnded) {
  const struct {
    std::function<void(Visit&)> fail;
    std::string error;
  } cases[] = {
      {[](Visit& v) {
         v.platform.missingPicture = "open0.bmp";
         v.click();
       },
       "/open0.bmp がありません"},
      {[](Visit& v) {
         v.session.form().mnu3.onClick = [] { throw std::logic_error("boom"); };
         v.session.menuCommand(kRankingItem);
       },
       "予期しないエラーが起きました: boom"},
  };
  for (const auto& c : cases) {
    Visit visit(RankingKept::AtEnd);  // as the desktop keeps it: saved once, at the end
    ASSERT_TRUE(visit.session.start());
    visit.session.activate();
    visit.session.form().rankTable[0] = {u"ABCDEFGHIJ", 0x1234};
    c.fail(visit);
    ASSERT_EQ(visit.shell.log.size(), 3U) << c.error;
    EXPECT_TRUE(visit.shell.log[0].ends_with(c.error)) << visit.shell.log[0];
    EXPECT_EQ(Log(visit.shell.log.begin() + 1, visit.shell.log.end()), (Log{"store", "end 1"}));
    EXPECT_EQ(scrDatOf(visit.platform), "ABCDEFGHIJ\x34\x12"s);
    // Nothing reaches the game any more, and the run's one save is spent.
    visit.click();
    visit.session.menuCommand(kHelpItem);
    visit.session.keepRanking();
    EXPECT_FALSE(visit.session.quit());
    EXPECT_EQ(visit.shell.log.size(), 3U) << c.error;
    EXPECT_TRUE(visit.platform.boxes.empty()) << c.error;
  }
}

TEST(Session, AStartThatFailsIsReportedAndEndsWithNothingSavedOrBuilt) {
  Visit visit;
  // A folder where scr.dat should be: the ranking can be neither read nor kept.
  std::filesystem::create_directory(visit.platform.folder / "scr.dat");
  EXPECT_FALSE(visit.session.start());
  ASSERT_EQ(visit.shell.log.size(), 2U);
  EXPECT_NE(visit.shell.log[0].find("scr.dat"), std::string::npos);
  EXPECT_EQ(visit.shell.log[1], "end 1");
  EXPECT_TRUE(visit.shell.menus.empty());
}

TEST(Session, ANameLongerThanScrDatHoldsIsShownWholeUntilTheNextVisit) {
  // ピルネピルネ is 12 bytes in code page 932; scr.dat holds ten.
  std::string stored;
  {
    LiveSession live;
    live.platform.stores = &live.shell.log;
    live.rankEndless(40, u"ピルネピルネ");
    live.session.keepRanking();
    live.session.menuCommand(kRankingItem);
    // Stored once, after the change, and never read back: the ranking shows the whole name.
    EXPECT_EQ(live.shell.log, Log{"store"});
    EXPECT_NE(live.platform.boxes.back().text.find(u"ピルネピルネ    (40)"), std::u16string::npos);
    stored = scrDatOf(live.platform);
    EXPECT_EQ(stored, "\x83\x73\x83\x8B\x83\x6C\x83\x73\x83\x8B\x28\x00"s);
  }
  LiveSession next(400, [&](ScriptedPlatform& p) {
    std::ofstream(p.folder / "scr.dat", std::ios::binary) << stored;
  });
  EXPECT_EQ(next.form().rankTable[0].name, fitName(u"ピルネピル"));
}

TEST(Session, ABroughtScrDatIsShownAndKeptOnlyOnceThePlayerSaysSo) {
  const std::string others = "OTHERS    \x50\x00"s + std::string(48, ' ');
  const struct {
    std::string bytes;
    bool answer;
    std::u16string said;
    std::string kept;
  } cases[] = {
      {"", true, u"scr.dat を読み込めません。\nファイルが空です。", ""},
      {std::string(5000, ' '), true, u"scr.dat を読み込めません。\nランキングのファイルにしては",
       ""},
      {others, false, u"読み込んだ scr.dat のランキングです。\n0・・・OTHERS", ""},
      {others, true, u"読み込んだ scr.dat のランキングです。\n0・・・OTHERS", others.substr(0, 12)},
  };
  for (const auto& c : cases) {
    LiveSession live;
    std::u16string asked;
    live.session.offerRanking(c.bytes, [&](const std::u16string& text) {
      EXPECT_TRUE(live.form().timers.modalOpen());
      asked = text;
      return c.answer;
    });
    const std::u16string said = asked.empty() ? live.platform.boxes.back().text : asked;
    EXPECT_EQ(said.substr(0, c.said.size()), c.said);
    // Nothing is stored but what the player accepted: the new file stays empty.
    EXPECT_EQ(scrDatOf(live.platform), c.kept);
  }
}

}  // namespace
}  // namespace pirune::testing
