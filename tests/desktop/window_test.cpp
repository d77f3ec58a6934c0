// The real window as the player sees and works it: its place, a frame checked by pixels, the
// mouse on the client area, the menu bar, and the system timer that drives the flight.

#include <gtest/gtest.h>

#include <QDialog>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTest>

#include "shell.h"

namespace pirune::desktop::testing {
namespace {

TEST(Window, SquareAtHalfTheScreenTheTitleStretchedBelowTheMenusAndPressesInItsUnits) {
  Shell shell;
  shell.start();
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  EXPECT_EQ(shell.window.frameGeometry().size(), QSize(screen.height() / 2, screen.height() / 2));
  const int bar = shell.window.menuBar()->height();
  EXPECT_EQ(shell.client().geometry(),
            QRect(0, bar, shell.window.width(), shell.window.height() - bar));
  // The title picture, corner to corner, and nothing over it.
  const QImage frame = shell.client().grab().toImage();
  for (const QPoint at : {QPoint(0, 0), QPoint(frame.width() - 1, frame.height() - 1)}) {
    EXPECT_EQ(frame.pixelColor(at), kTitle);
  }
  // Only the primary button clicks, pressed and released over the label, in the client's units.
  shell.form().LBl.Move(50, 90, 10, 10);
  const std::tuple<QPointF, QPointF, Qt::MouseButton, int> cases[] = {
      {{55, 95}, {55, 95}, Qt::RightButton, 0},
      {{55, 95}, {55, 85}, Qt::LeftButton, 0},
      {{59.5, 99.5}, {51, 91}, Qt::LeftButton, 1},
  };
  for (const auto& [press, release, button, page] : cases) {
    QTest::mousePress(&shell.client(), button, {}, shell.pixelOf(press.x(), press.y()));
    QTest::mouseRelease(&shell.client(), button, {}, shell.pixelOf(release.x(), release.y()));
    EXPECT_EQ(shell.form().scenePage, page) << press.x() << "," << press.y();
  }
  // Qt turns a quick second press into a double click: for the game it is one more wing beat.
  shell.form().LBl.Move(0, 0, 100, 100);
  shell.click();
  shell.click();
  QTest::mouseDClick(shell.window.windowHandle(), Qt::LeftButton, {},
                     shell.client().mapTo(&shell.window, shell.pixelOf(50, 50)));
  EXPECT_EQ(shell.form().distance, 2);
}

// A bar or menu as the player sees it: items in braces, marks as [x] or [ ], locked ones "-".
QString describe(const QList<QAction*>& actions) {
  QStringList parts;
  for (const QAction* action : actions) {
    QString part = action->text();
    part += action->isCheckable() ? (action->isChecked() ? "[x]" : "[ ]") : "";
    part += action->isEnabled() ? "" : "-";
    part += action->menu() != nullptr ? "{" + describe(action->menu()->actions()) + "}" : "";
    parts << part;
  }
  return parts.join(' ');
}

TEST(Window, TheMenuBarMirrorsTheGamesMarksAndLocksAndNeverTogglesItself) {
  Shell shell;
  shell.start();
  const auto bar = [&] { return describe(shell.window.menuBar()->actions()).toStdString(); };
  EXPECT_EQ(bar(),
            "メニュウ{遊び方 バージョン} オプション{ＢＧＭ[x] 無限モード[ ] 背景効果[x]} "
            "初期化スタート ランキング");
  shell.choose(*shell.form().mnu1[1]);
  shell.startFlight();
  EXPECT_NE(bar().find("無限モード[x]-"), std::string::npos);
  shell.choose(*shell.form().mnu1[1]);  // locked: nothing
  EXPECT_TRUE(shell.form().endlessMode());
  shell.choose(shell.form().mnu2);
  EXPECT_NE(bar().find("無限モード[x] "), std::string::npos);
  // A command that leaves the mark alone leaves the action's mark alone, though Qt flipped it.
  shell.form().mnu1[2]->onClick = [] {};
  shell.choose(*shell.form().mnu1[2]);
  EXPECT_NE(bar().find("背景効果[x]"), std::string::npos);
}

TEST(Window, TheSystemTimerDrivesTheFlightByTheGamesClockAndABoxHoldsIt) {
  Shell shell;
  shell.start();
  const auto* driver = shell.window.findChild<TimerDriver*>();
  ASSERT_NE(driver, nullptr);
  shell.startFlight();
  shell.now += 500;
  shell.click(50, 50, Qt::RightButton);  // any call brings the timers up to date
  EXPECT_TRUE(QTest::qWaitFor([&] { return shell.form().altitude == 49; }, 2000));
  {
    const BoxAnswer answer([&](QWidget* box) {
      shell.now += 5000;  // the player reads for five seconds
      // The driver fires while the box is open, finds nothing it may deliver and rests.
      EXPECT_TRUE(QTest::qWaitFor([&] { return !driver->isActive(); }, 2000));
      qobject_cast<QDialog*>(box)->accept();
    });
    shell.choose(*shell.form().playmnu1[0]);
  }
  // A full interval starts afresh after the box: the driver is set for it, nothing is delivered.
  EXPECT_TRUE(QTest::qWaitFor([&] { return driver->remainingTime() > 0; }, 2000));
  EXPECT_EQ(shell.form().altitude, 49);
  shell.now += 490;
  shell.click(50, 50, Qt::RightButton);
  EXPECT_EQ(shell.form().altitude, 49);
  shell.now += 10;
  shell.click(50, 50, Qt::RightButton);
  EXPECT_TRUE(QTest::qWaitFor([&] { return shell.form().altitude == 48; }, 2000));
}

}  // namespace
}  // namespace pirune::desktop::testing
