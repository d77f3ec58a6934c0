// The real window as the player works it: the mouse on the client area, the menu bar, the
// first showing and the closing, and the system timers that drive the flight.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <algorithm>

#include "shell.h"

namespace pirune::desktop::testing {
namespace {

TEST(MouseInput, OnlyAPrimaryPressAndReleaseOverOneControlClicksItInUnitsOfTheClientArea) {
  Shell shell;
  shell.start();
  // The client area lies below the menu bar, so it is less high than wide: units are its own.
  ASSERT_LT(shell.window.clientArea().height(), shell.window.clientArea().width());
  shell.form.LBl.Move(50, 90, 10, 10);
  struct Case {
    QPointF press;
    QPointF release;
    Qt::MouseButton button;
    int page;
  };
  const Case cases[] = {
      {{55, 85}, {55, 85}, Qt::LeftButton, 0},   // above the label
      {{45, 95}, {45, 95}, Qt::LeftButton, 0},   // left of it
      {{55, 95}, {55, 95}, Qt::RightButton, 0},  // other buttons never click
      {{55, 95}, {55, 95}, Qt::MiddleButton, 0},
      {{55, 95}, {45, 95}, Qt::LeftButton, 0},  // released off the label
      {{55, 91}, {55, 91}, Qt::LeftButton, 1},
      {{59.5, 99.5}, {51, 92}, Qt::LeftButton, 2},  // pressed and released at two places on it
  };
  QWidget& client = shell.window.clientArea();
  for (const Case& c : cases) {
    QTest::mousePress(&client, c.button, {}, shell.pixelOf(c.press.x(), c.press.y()));
    QTest::mouseRelease(&client, c.button, {}, shell.pixelOf(c.release.x(), c.release.y()));
    EXPECT_EQ(shell.form.scenePage, c.page) << c.press.x() << "," << c.press.y();
  }
}

TEST(MouseInput, AQuickDoubleClickInFlightIsTwoWingBeats) {
  Shell shell;
  shell.start();
  shell.startFlight();
  ASSERT_EQ(shell.form.distance, 1);
  const QPoint at = shell.pixelOf(50, 50);

  // As Qt delivers it to the widget: the second press comes as a double-click event.
  QWidget& client = shell.window.clientArea();
  QTest::mousePress(&client, Qt::LeftButton, {}, at);
  QTest::mouseRelease(&client, Qt::LeftButton, {}, at);
  QTest::mouseEvent(QTest::MouseDClick, &client, Qt::LeftButton, {}, at);
  QTest::mouseRelease(&client, Qt::LeftButton, {}, at);
  EXPECT_EQ(shell.form.wingFrame, 1);
  EXPECT_EQ(shell.form.distance, 2);

  // The same through the window system's own double-click detection.
  QWindow* handle = shell.window.windowHandle();
  ASSERT_NE(handle, nullptr);
  QTest::mouseDClick(handle, Qt::LeftButton, {}, client.mapTo(&shell.window, at));
  EXPECT_EQ(shell.form.wingFrame, 1);
  EXPECT_EQ(shell.form.distance, 3);
}

TEST(WindowLife, OnlyTheFirstShowingStartsAGameAndClosingUnloadsOnce) {
  Shell shell;
  shell.start();
  shell.click();
  ASSERT_EQ(shell.form.scenePage, 1);
  shell.window.hide();
  shell.window.show();
  QApplication::setActiveWindow(&shell.window);
  QEvent activate(QEvent::WindowActivate);
  QApplication::sendEvent(&shell.window, &activate);
  EXPECT_EQ(shell.form.scenePage, 1);

  shell.window.close();
  // Closed once more, as a window system may, after the window has gone.
  QCloseEvent again;
  QApplication::sendEvent(&shell.window, &again);
  EXPECT_EQ(std::count(shell.music.commands.begin(), shell.music.commands.end(), "close"), 1);
  EXPECT_EQ(QFileInfo(QString::fromStdString(shell.path("scr.dat"))).size(), 60);
  EXPECT_TRUE(shell.exits.empty());
}

// A bar or menu as the player sees it: a menu's items in braces, marks as [x] or [ ], and a
// locked item followed by "-".
QString describe(const QList<QAction*>& actions) {
  QStringList parts;
  for (const QAction* action : actions) {
    QString part = action->text();
    if (action->isCheckable()) {
      part += action->isChecked() ? "[x]" : "[ ]";
    }
    if (!action->isEnabled()) {
      part += "-";
    }
    if (action->menu() != nullptr) {
      part += "{" + describe(action->menu()->actions()) + "}";
    }
    parts << part;
  }
  return parts.join(' ');
}

TEST(MenuBar, MirrorsTheGamesItemsMarksAndLocksAndNeverTogglesItself) {
  Shell shell;
  shell.start();
  const auto bar = [&shell] { return describe(shell.window.menuBar()->actions()); };
  const auto actionFor = [&shell](const MenuItem& item) {
    return shell.window.menus().actionFor(item);
  };
  EXPECT_EQ(bar(),
            "メニュウ{遊び方 バージョン} オプション{ＢＧＭ[x] 無限モード[ ] 背景効果[x]} "
            "初期化スタート ランキング");

  // The game's procedure decides the mark, not Qt's own flip.
  actionFor(*shell.form.mnu1[2])->trigger();
  EXPECT_FALSE(shell.form.mnu1[2]->Checked());
  EXPECT_TRUE(bar().contains("背景効果[ ]"));
  actionFor(*shell.form.mnu1[2])->trigger();
  EXPECT_TRUE(shell.form.mnu1[2]->Checked());
  EXPECT_TRUE(bar().contains("背景効果[x]"));

  // A flight locks endless mode; a locked item cannot be chosen; a fresh start unlocks it.
  actionFor(*shell.form.mnu1[1])->trigger();
  shell.startFlight();
  EXPECT_TRUE(bar().contains("無限モード[x]- "));
  actionFor(*shell.form.mnu1[1])->trigger();
  EXPECT_TRUE(shell.form.mnu1[1]->Checked());
  actionFor(shell.form.mnu2)->trigger();
  EXPECT_EQ(shell.scene(), u"open");
  EXPECT_TRUE(bar().contains("無限モード[x] "));

  // A command that leaves the mark alone leaves the action's mark alone too, and as it changes
  // nothing in the game's window, nothing is repainted.
  int runs = 0;
  shell.form.mnu1[2]->onClick = [&runs] { ++runs; };
  QTest::qWait(50);
  const int paints = shell.window.clientArea().paintCount();
  actionFor(*shell.form.mnu1[2])->trigger();
  QTest::qWait(50);
  EXPECT_EQ(runs, 1);
  EXPECT_TRUE(bar().contains("背景効果[x]"));
  EXPECT_EQ(shell.window.clientArea().paintCount(), paints);
}

TEST(Timers, AnOpenBoxHoldsTheFlightThenTheSystemTimerDrivesItAndOnlyChangesRepaint) {
  Shell shell;
  shell.start();
  // Without the twinkling shapes only the flight changes the window.
  shell.form.mnu1[2]->setChecked(false);
  shell.startFlight();
  ASSERT_EQ(shell.form.altitude, 50);
  {
    const BoxCloser closer(700);
    QElapsedTimer open;
    open.start();
    shell.window.menus().actionFor(*shell.form.playmnu1[0])->trigger();
    ASSERT_GE(open.elapsed(), 650);
    ASSERT_EQ(closer.seen().kind, "message");
  }
  // Past the flight timer's 500 ms, and not one tick: a full interval starts afresh.
  EXPECT_EQ(shell.form.altitude, 50);
  QTest::qWait(100);
  const int paints = shell.window.clientArea().paintCount();
  QTest::qWait(150);
  EXPECT_EQ(shell.form.altitude, 50);
  EXPECT_EQ(shell.window.clientArea().paintCount(), paints);
  QTest::qWait(450);
  EXPECT_LT(shell.form.altitude, 50);
  EXPECT_GT(shell.window.clientArea().paintCount(), paints);
}

}  // namespace
}  // namespace pirune::desktop::testing
