// The window: what start-up and the first new game leave, which control a click reaches, and
// the rules of the window timers.

#include <gtest/gtest.h>

#include "support/scripted_platform.h"

namespace pirune::testing {
namespace {

// Names of the controls, back to front; a hidden one in brackets.
std::string order(const WindowModel& window) {
  std::string text;
  for (const Control* c : window.zOrder()) {
    text += (c->Visible() ? c->name() : "[" + c->name() + "]") + " ";
  }
  return text;
}

TEST(Window, LoadLeavesTheCountersAtZeroAndTheFirstNewGameShowsTheTitle) {
  ScriptedPlatform platform;
  FOM f(platform);
  f.Form_Load();
  EXPECT_FALSE(f.sceneName.has_value());
  EXPECT_EQ(
      (std::array<int, 6>{f.distance, f.altitude, f.growth, f.meltCount, f.wingFrame, f.scenePage}),
      (std::array<int, 6>{}));
  EXPECT_EQ(f.IMG.rect(), (Rect{0, 0, 10, 30}));
  EXPECT_EQ(f.LBl.rect(), (Rect{0, 0, 100, 100}));
  EXPECT_EQ(f.LBl.FontSize(), 13);
  EXPECT_EQ(platform.seeds, 1);
  EXPECT_EQ(order(f.window), "IMG [E(1)] [E(0)] LBl SEimg SHP(0) [SHP(1)] [SHP(2)] [SHP(3)] ");
  f.Form_Activate();
  EXPECT_EQ(order(f.window), "[IMG] [E(1)] [E(0)] SEimg [SHP(0)] [SHP(1)] [SHP(2)] [SHP(3)] LBl ");
  EXPECT_EQ(f.LBl.Caption(), u"");  // the design's "Label1" is never seen
  EXPECT_EQ(f.SEimg.Picture()->source(), "stt.bmp");
}

TEST(Window, TheNewGameResetsAfterTheRankingAndLeavesTheHeroReadyButHidden) {
  Game game;
  game.form.mnu1_Click(1);
  game.flyAt(40, 70);
  EXPECT_FALSE(game.form.mnu1[1]->Enabled());  // endless mode is locked in flight
  game.form.mnu1_Click(0);
  game.form.mnu1_Click(2);
  game.form.meltCount = 4;
  game.form.growth = 7;
  // The ranking sees the flight as it ended, before anything is reset or shown.
  std::tuple<std::u16string, Flight, std::size_t> inBox;
  game.platform.whileBoxOpen = [&] {
    inBox = {game.scene(), game.flight(), game.platform.picturesLoaded.size()};
  };
  game.form.mnu2_Click();
  EXPECT_EQ(inBox,
            std::tuple(std::u16string(), Flight{40, 2, 70, 4, 7, {0, 50, 10, 30}}, std::size_t{3}));
  EXPECT_EQ(game.flight(), (Flight{1, 1, 50, 1, 0, {0, 50, 10, 30}}));
  EXPECT_EQ(std::tuple(game.scene(), game.form.scenePage.value()), std::tuple(u"open", 0));
  EXPECT_EQ(game.form.IMG.Picture()->source(), "wing1");
  EXPECT_FALSE(game.form.IMG.Visible() || game.form.piruneTIM.Enabled());
  EXPECT_EQ(game.form.piruneTIM.Interval(), 500);
  EXPECT_TRUE(game.form.mnu1[1]->Enabled());
  // The fresh start leaves the options alone.
  EXPECT_EQ(std::tuple(game.form.musicOn(), game.form.endlessMode(), game.form.effectOn()),
            std::tuple(false, true, false));
}

TEST(Window, AClickIsAPrimaryPressAndReleaseOverTheSameControl) {
  const std::tuple<MouseButton, float, float, int> cases[] = {
      // button, pressed and released at x, the wing frame after it
      {MouseButton::Left, 5, 6, 2},     // on the hero: IMG_Click
      {MouseButton::Left, 5, 50, 1},    // released off it: nothing
      {MouseButton::Right, 5, 5, 1},    // another button on a control: nothing
      {MouseButton::Right, 50, 50, 2},  // on the bare window any button beats at the press
      {MouseButton::Middle, 50, 5, 2},
  };
  for (const auto& [button, pressX, releaseX, wingFrame] : cases) {
    Game game;
    game.startFlight();
    game.form.LBl.Move(0, 0, 100, 20);  // uncover the hero and the bare window
    game.form.IMG.Move(0, 50, 10, 30);
    game.form.pointerPressed(button, 0, pressX, 60);
    game.form.pointerReleased(button, releaseX, 60);
    EXPECT_EQ(game.form.wingFrame, wingFrame) << pressX << " to " << releaseX;
  }
}

TEST(WindowTimers, KeepTheRulesOfTheDesktopTimersAndBoxesHoldTheGameButNotTheMusic) {
  std::int64_t now = 0;
  TimerScheduler scheduler{[&now] { return now; }};
  const auto run = [&](std::int64_t until) { runTimers(scheduler, now, until); };
  std::vector<std::string> ticks;
  Timer idle(scheduler, "idle", 0, true, false);
  Timer fast(scheduler, "fast", 1, true, false);
  Timer t(scheduler, "t", 100, true, false);
  Timer held(scheduler, "held", 100, false, true);
  for (Timer* timer : {&idle, &fast, &t, &held}) {
    timer->onTick = [&, timer] {
      ticks.push_back(timer->name() + std::to_string(scheduler.now()));
    };
  }
  run(50);  // interval 0 never ticks, and nothing ticks faster than a frame
  fast.setEnabled(false);
  t.setEnabled(true);  // already on: the countdown goes on
  run(180);
  t.setInterval(50);  // a new interval starts afresh: due at 230
  run(230);
  t.setEnabled(false);
  run(1000);  // the program was busy; held enabled now: its first tick at 1100
  held.setEnabled(true);
  t.setEnabled(true);  // due at 1050
  t.setInterval(50);   // the same interval is no change
  scheduler.beginModal();
  scheduler.beginModal();
  run(1400);
  scheduler.endModal();
  run(1410);  // one box is still open
  scheduler.endModal();
  run(1510);
  EXPECT_EQ(ticks, (std::vector<std::string>{"fast17", "fast34", "t100", "t230", "t1050", "t1100",
                                             "t1150", "t1200", "t1250", "t1300", "t1350", "t1400",
                                             "t1450", "t1500", "held1510"}));
  ticks.clear();
  // Late, every tick due comes at its own time, in the order due; a lead takes those just after.
  scheduler.advance(1600, 8);
  scheduler.advance(1603, 8);
  EXPECT_EQ(ticks, (std::vector<std::string>{"t1550", "t1600", "held1610"}));
  EXPECT_EQ(scheduler.now(), 1610);
}

}  // namespace
}  // namespace pirune::testing
