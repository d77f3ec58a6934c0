// Real time: the flight ticks by the system timer, is held while a box is open, and the window
// repaints only when something changed.

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTest>

#include "shell.h"

namespace pirune::desktop::testing {
namespace {

TEST(Timers, TheFlightFallsAsTimePasses) {
  Shell shell;
  shell.start();
  shell.startFlight();
  ASSERT_EQ(shell.form.altitude, 50);
  EXPECT_TRUE(shell.window.timerDriver().armed());

  const int paintsBefore = shell.window.clientArea().paintCount();
  // Ticks are due at 500 ms and, 490 ms later, at 990 ms.
  QTest::qWait(1150);
  EXPECT_LE(shell.form.altitude, 49);
  EXPECT_GE(shell.form.altitude, 46);
  EXPECT_LT(shell.form.piruneTIM.Interval(), 500);
  EXPECT_EQ(shell.form.IMG.Top(), 100 - shell.form.altitude);
  EXPECT_GT(shell.window.clientArea().paintCount(), paintsBefore);
}

TEST(Timers, AnOpenBoxHoldsTheFlight) {
  Shell shell;
  shell.start();
  shell.startFlight();
  const BoxCloser closer(700);
  QElapsedTimer open;
  open.start();
  shell.window.menus().actionFor(*shell.form.playmnu1[0])->trigger();
  ASSERT_GE(open.elapsed(), 650);

  EXPECT_EQ(closer.seen().kind, "message");
  EXPECT_EQ(closer.seen().title, "ピルネノ翼");
  EXPECT_TRUE(
      closer.seen().text.startsWith("マウスクリックでピルネが羽ばたきます。\n飛びすぎると"));
  EXPECT_FALSE(closer.seen().text.contains('\r'));
  EXPECT_EQ(closer.seen().buttons, QStringList({"OK"}));
  // Past the flight timer's 500 ms, and not one tick.
  EXPECT_EQ(shell.form.altitude, 50);
  EXPECT_EQ(shell.form.piruneTIM.Interval(), 500);

  // After the box a full interval starts afresh.
  QTest::qWait(250);
  EXPECT_EQ(shell.form.altitude, 50);
  QTest::qWait(450);
  EXPECT_LT(shell.form.altitude, 50);
}

TEST(Timers, NothingRepaintsWhileNothingChanges) {
  Shell shell;
  shell.start();
  QTest::qWait(100);
  const int paints = shell.window.clientArea().paintCount();
  QTest::qWait(400);
  EXPECT_EQ(shell.window.clientArea().paintCount(), paints);
}

}  // namespace
}  // namespace pirune::desktop::testing
