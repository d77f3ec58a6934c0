// The menu bar mirrors the game's menu items; its commands run the game's procedures.

#include <gtest/gtest.h>

#include <QMenu>
#include <QMenuBar>

#include "shell.h"

namespace pirune::desktop::testing {
namespace {

QStringList texts(const QList<QAction*>& actions) {
  QStringList result;
  for (const QAction* action : actions) {
    result << action->text();
  }
  return result;
}

TEST(MenuBar, ShowsTheMenusAndTheTwoCommandsOnTheBar) {
  Shell shell;
  shell.start();
  const QList<QAction*> top = shell.window.menuBar()->actions();
  EXPECT_EQ(texts(top), QStringList({"メニュウ", "オプション", "初期化スタート", "ランキング"}));
  ASSERT_EQ(top.size(), 4);
  ASSERT_NE(top[0]->menu(), nullptr);
  ASSERT_NE(top[1]->menu(), nullptr);
  EXPECT_EQ(top[2]->menu(), nullptr);
  EXPECT_EQ(top[3]->menu(), nullptr);
  EXPECT_EQ(texts(top[0]->menu()->actions()), QStringList({"遊び方", "バージョン"}));
  EXPECT_EQ(texts(top[1]->menu()->actions()), QStringList({"ＢＧＭ", "無限モード", "背景効果"}));

  // After start-up: music and background effect on, endless mode off.
  const QList<QAction*> options = top[1]->menu()->actions();
  EXPECT_TRUE(options[0]->isCheckable() && options[0]->isChecked());
  EXPECT_TRUE(options[1]->isCheckable() && !options[1]->isChecked());
  EXPECT_TRUE(options[2]->isCheckable() && options[2]->isChecked());
  EXPECT_FALSE(top[2]->isCheckable());
}

TEST(MenuBar, CheckMarksAreTheGamesAndNeverToggleThemselves) {
  Shell shell;
  shell.start();
  QAction* effect = shell.window.menus().actionFor(*shell.form.mnu1[2]);
  ASSERT_NE(effect, nullptr);

  effect->trigger();
  EXPECT_FALSE(shell.form.mnu1[2]->Checked());
  EXPECT_FALSE(effect->isChecked());
  effect->trigger();
  EXPECT_TRUE(shell.form.mnu1[2]->Checked());
  EXPECT_TRUE(effect->isChecked());

  // A command that leaves the mark alone leaves the action's mark alone too.
  int runs = 0;
  shell.form.mnu1[2]->onClick = [&runs] { ++runs; };
  effect->trigger();
  EXPECT_EQ(runs, 1);
  EXPECT_TRUE(effect->isChecked());
}

TEST(MenuBar, FollowsTheGameWhenAFlightLocksEndlessMode) {
  Shell shell;
  shell.start();
  QAction* endless = shell.window.menus().actionFor(*shell.form.mnu1[1]);
  ASSERT_NE(endless, nullptr);
  endless->trigger();
  EXPECT_TRUE(endless->isChecked());
  EXPECT_TRUE(endless->isEnabled());

  shell.startFlight();
  EXPECT_FALSE(endless->isEnabled());
  // A locked item cannot be chosen.
  endless->trigger();
  EXPECT_TRUE(shell.form.mnu1[1]->Checked());

  QAction* freshStart = shell.window.menus().actionFor(shell.form.mnu2);
  ASSERT_NE(freshStart, nullptr);
  freshStart->trigger();
  EXPECT_EQ(shell.scene(), u"open");
  EXPECT_EQ(shell.pictureShown(), shell.path("stt.bmp"));
  EXPECT_TRUE(endless->isEnabled());
  EXPECT_TRUE(endless->isChecked());
}

TEST(MenuBar, BackgroundEffectSwitchedOffDuringAFlightHidesTheShapes) {
  Shell shell;
  shell.start();
  shell.startFlight();
  ASSERT_TRUE(shell.form.SHPTIM.Enabled());
  ASSERT_TRUE(shell.form.SHP[3]->Visible());
  shell.window.menus().actionFor(*shell.form.mnu1[2])->trigger();
  EXPECT_FALSE(shell.form.SHPTIM.Enabled());
  for (const Shape* shape : shell.form.SHP) {
    EXPECT_FALSE(shape->Visible());
  }
}

}  // namespace
}  // namespace pirune::desktop::testing
