// The session around the game: every call under the one error policy, then the shell caught up;
// the ranking's bytes stored as the shell wants them, and never read back during a run.

#include "host/session.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

#include "support/scripted_platform.h"

namespace pirune::testing {
namespace {

using namespace std::string_literals;

struct LoggingPlatform : ScriptedPlatform {
  std::vector<std::string>& log;
  explicit LoggingPlatform(std::vector<std::string>& log) : log(log) {}
  void storeRanking(const std::string& records) override {
    log.push_back("store");
    ScriptedPlatform::storeRanking(records);
  }
};

struct RecordingShell : HostShell {
  std::vector<std::string> log;
  std::vector<std::string> errors;
  std::vector<MenuEntry> menus;
  std::vector<MenuState> shown;
  std::optional<std::int64_t> timer;
  Region invalid;

  void reportError(const std::string& text) override {
    log.push_back("report");
    errors.push_back(text);
  }
  void armTimer(std::optional<std::int64_t> delayMs) override { timer = delayMs; }
  void buildMenus(const std::vector<MenuEntry>& entries) override { menus = entries; }
  void showMenuItem(const MenuState& state) override { shown.push_back(state); }
  void invalidate(const Region& region) override { invalid.add(region); }
  void end(int status) override { log.push_back("end " + std::to_string(status)); }
};

// The numbers of the game's menu items as the session hands them to a shell.
constexpr int kHelp = 1;
constexpr int kEndless = 5;
constexpr int kNewGame = 7;
constexpr int kRanking = 8;

FontMetrics tenPixelsEach() {
  return {[](std::u16string_view text, double /*px*/) {
            return 10.0 * static_cast<double>(text.size());
          },
          [](double /*px*/) { return 12.0; }};
}

struct Visit {
  RecordingShell shell;
  LoggingPlatform platform{shell.log};
  HostSession session;

  explicit Visit(RankingKept kept = RankingKept::AtEnd)
      : session(platform, shell, tenPixelsEach(), kept) {}
  void start() {
    ASSERT_TRUE(session.start());
    session.activate();
  }
  void click() {
    session.press(MouseButton::Left, 0, 50, 50);
    session.release(MouseButton::Left, 50, 50);
  }
  // An endless flight of `distance` ended by a new game: the name box comes.
  void rank(int distance, std::u16string name) {
    session.menuCommand(kEndless);
    for (int page = 0; page < 3; ++page) {
      click();
    }
    session.form().distance = static_cast<std::int16_t>(distance);
    platform.answers.emplace_back(std::move(name));
    session.menuCommand(kNewGame);
  }
  [[nodiscard]] std::string scrDat() const {
    std::ifstream in(platform.folder / "scr.dat", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
};

TEST(Session, TheStartBuildsTheMenusShowsEveryItemAndCatchesTheShellUp) {
  Visit run;
  run.start();
  ASSERT_EQ(run.shell.menus.size(), 9U);
  const std::vector<std::u16string> captions = {u"メニュウ",   u"遊び方",         u"バージョン",
                                                u"オプション", u"ＢＧＭ",         u"無限モード",
                                                u"背景効果",   u"初期化スタート", u"ランキング"};
  const std::vector<int> parents = {-1, 0, 0, -1, 3, 3, 3, -1, -1};
  for (std::size_t i = 0; i < captions.size(); ++i) {
    EXPECT_EQ(run.shell.menus[i].caption, captions[i]) << i;
    EXPECT_EQ(run.shell.menus[i].parent, parents[i]) << i;
  }
  EXPECT_EQ(run.shell.shown.size(), 9U);
  // The music's restart is due one music length after the start.
  EXPECT_EQ(run.shell.timer, 30000);
  // No client area known yet: nothing to paint until the shell says how large it is.
  EXPECT_TRUE(run.shell.invalid.empty());
  run.session.resize({200, 200, 1, 1});
  EXPECT_EQ(run.shell.invalid.bounds(), (PixelRect{0, 0, 200, 200}));
}

TEST(Session, EventsBeforeTheStartReachNoGame) {
  Visit visit;
  visit.click();
  visit.session.tick();
  visit.session.menuCommand(kHelp);
  visit.session.keepRanking();
  visit.session.activate();
  EXPECT_FALSE(visit.session.quit());
  EXPECT_FALSE(visit.session.started());
  EXPECT_TRUE(visit.shell.log.empty());
  EXPECT_TRUE(visit.platform.boxes.empty());
}

TEST(Session, AFlightGreysOutEndlessModeAndArmsItsTimerAtOnce) {
  Visit run;
  run.start();
  run.session.resize({200, 200, 1, 1});
  for (int page = 0; page < 3; ++page) {
    run.click();
  }
  ASSERT_TRUE(run.session.form().inFlight());
  EXPECT_EQ(run.shell.shown.back(), (MenuState{kEndless, false, false}));
  // The background effect ticks at the frame's floor.
  ASSERT_TRUE(run.shell.timer.has_value());
  EXPECT_LE(*run.shell.timer, TimerScheduler::kMinimumPeriodMs);
}

TEST(Session, ARunTimeErrorIsReportedThenTheRankingSavedOnceThenTheGameEnded) {
  const struct {
    const char* what;
    std::function<void(Visit&)> fail;
    std::string errorEnd;
  } cases[] = {
      {"a picture missing",
       [](Visit& run) {
         run.platform.missingPicture = "open0.bmp";
         run.click();
       },
       "/open0.bmp がありません"},
      {"an error no procedure expects",
       [](Visit& run) {
         run.session.form().mnu3.onClick = [] { throw std::logic_error("boom"); };
         run.session.menuCommand(kRanking);
       },
       "予期しないエラーが起きました: boom"},
  };
  for (const auto& c : cases) {
    Visit run;
    run.start();
    run.session.form().rankTable[0] = {u"ABCDEFGHIJ", 0x1234};
    run.shell.log.clear();
    c.fail(run);
    EXPECT_EQ(run.shell.log, (std::vector<std::string>{"report", "store", "end 1"})) << c.what;
    ASSERT_EQ(run.shell.errors.size(), 1U) << c.what;
    EXPECT_TRUE(run.shell.errors[0].ends_with(c.errorEnd)) << c.what << ": " << run.shell.errors[0];
    EXPECT_EQ(run.scrDat().substr(0, 12), std::string("ABCDEFGHIJ\x34\x12")) << c.what;
    EXPECT_TRUE(run.session.failed());
    // Nothing reaches the game any more, and the run's one save is spent.
    const std::int16_t page = run.session.form().scenePage;
    run.click();
    run.session.menuCommand(kHelp);
    run.session.keepRanking();
    EXPECT_EQ(run.session.form().scenePage, page) << c.what;
    EXPECT_FALSE(run.session.quit()) << c.what;
    EXPECT_EQ(run.shell.log.size(), 3U) << c.what;
  }
}

TEST(Session, AStartThatFailsIsReportedAndEndsWithNothingSavedOrBuilt) {
  Visit run;
  // A folder where scr.dat should be: the ranking can be neither read nor kept.
  std::filesystem::create_directory(run.platform.folder / "scr.dat");
  EXPECT_FALSE(run.session.start());
  EXPECT_EQ(run.shell.log, (std::vector<std::string>{"report", "end 1"}));
  EXPECT_NE(run.shell.errors.at(0).find("scr.dat"), std::string::npos);
  EXPECT_TRUE(run.shell.menus.empty());
}

TEST(Session, ANameLongerThanScrDatHoldsIsShownWholeUntilTheNextVisit) {
  // ピルネピルネ is 12 bytes in code page 932; scr.dat holds ten.
  const std::u16string name = u"ピルネピルネ";
  const std::string stored = "\x83\x73\x83\x8B\x83\x6C\x83\x73\x83\x8B";
  std::string scrDat;
  {
    Visit run(RankingKept::AfterEveryChange);
    run.start();
    run.rank(40, name);
    EXPECT_EQ(run.session.form().rankTable[0].name, fitName(name));
    EXPECT_EQ(run.shell.log, std::vector<std::string>{"store"});
    // Stored after every change, and never read back: the game still shows the whole name.
    run.session.keepRanking();
    run.session.menuCommand(kRanking);
    EXPECT_EQ(run.session.form().rankTable[0].name, fitName(name));
    EXPECT_NE(run.platform.boxes.back().text.find(fitName(name)), std::u16string::npos);
    EXPECT_EQ(run.shell.log, std::vector<std::string>{"store"});
    scrDat = run.scrDat();
    EXPECT_EQ(scrDat.substr(0, 12), stored + "\x28\x00"s);
  }
  Visit next;
  std::ofstream(next.platform.folder / "scr.dat", std::ios::binary) << scrDat;
  next.start();
  EXPECT_EQ(next.session.form().rankTable[0].name, fitName(u"ピルネピル"));
}

TEST(Session, TheDesktopsRankingIsStoredOnceAtTheEnd) {
  Visit run(RankingKept::AtEnd);
  run.start();
  run.rank(40, u"ICARUS");
  run.session.keepRanking();
  EXPECT_TRUE(run.shell.log.empty());
  EXPECT_TRUE(run.session.quit());
  EXPECT_EQ(run.shell.log, std::vector<std::string>{"store"});
  EXPECT_EQ(run.scrDat().substr(0, 12), "ICARUS    \x28\x00"s);
}

TEST(Session, ABroughtScrDatIsShownAndKeptOnlyOnceThePlayerSaysSo) {
  std::string others(60, ' ');
  others.replace(0, 12, "OTHERS    \x50\x00"s);
  const struct {
    const char* what;
    std::string bytes;
    bool answer;
    std::u16string boxStart;
    std::u16string first;
  } cases[] = {
      {"an empty file", "", true, u"scr.dat を読み込めません。\nファイルが空です。", u"          "},
      {"a file far too large", std::string(5000, ' '), true, u"scr.dat を読み込めません。",
       u"          "},
      {"a ranking, cancelled", others, false,
       u"読み込んだ scr.dat のランキングです。\n0・・・OTHERS", u"          "},
      {"a ranking, accepted", others, true, u"読み込んだ scr.dat のランキングです。\n0・・・OTHERS",
       u"OTHERS    "},
  };
  for (const auto& c : cases) {
    Visit run(RankingKept::AfterEveryChange);
    run.start();
    std::vector<std::u16string> asked;
    run.session.offerRanking(c.bytes, [&](const std::u16string& text) {
      asked.push_back(text);
      EXPECT_TRUE(run.session.form().timers.modalOpen()) << c.what;
      return c.answer;
    });
    const std::u16string shown = asked.empty() ? run.platform.boxes.back().text : asked.back();
    EXPECT_EQ(shown.substr(0, c.boxStart.size()), c.boxStart) << c.what;
    EXPECT_EQ(run.session.form().rankTable[0].name, c.first) << c.what;
    // Nothing is stored but what the player accepted: the new file stays empty.
    EXPECT_EQ(run.scrDat().substr(0, 12), c.first == u"OTHERS    " ? "OTHERS    \x50\x00"s : ""s)
        << c.what;
  }
}

}  // namespace
}  // namespace pirune::testing
