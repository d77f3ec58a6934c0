// Mouse presses and releases through the real widget, and the window's one activation.

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include "shell.h"

namespace pirune::desktop::testing {
namespace {

// What the window system delivers for a quick double click: the second press comes as a
// double click event.
void doubleClickAsQtDeliversIt(QWidget& widget, QPoint at) {
  QTest::mousePress(&widget, Qt::LeftButton, {}, at);
  QTest::mouseRelease(&widget, Qt::LeftButton, {}, at);
  QTest::mouseEvent(QTest::MouseDClick, &widget, Qt::LeftButton, {}, at);
  QTest::mouseRelease(&widget, Qt::LeftButton, {}, at);
}

TEST(MouseInput, ClicksOnTheWidgetTurnTheOpeningPagesAndStartTheFlight) {
  Shell shell;
  shell.start();
  ASSERT_EQ(shell.scene(), u"open");
  ASSERT_EQ(shell.pictureShown(), shell.path("stt.bmp"));

  shell.click(10, 90);
  EXPECT_EQ(shell.form.scenePage, 1);
  EXPECT_EQ(shell.pictureShown(), shell.path("open0.bmp"));
  // Only the primary button clicks; the others press on the label and do nothing.
  shell.click(50, 50, Qt::RightButton);
  shell.click(50, 50, Qt::MiddleButton);
  EXPECT_EQ(shell.form.scenePage, 1);

  shell.click(90, 10);
  EXPECT_EQ(shell.pictureShown(), shell.path("open1.bmp"));
  shell.click();
  EXPECT_EQ(shell.scene(), u"");
  EXPECT_TRUE(shell.form.piruneTIM.Enabled());
  EXPECT_TRUE(shell.form.IMG.Visible());
}

TEST(MouseInput, PositionsAreUnitsOfTheClientAreaBelowTheMenuBar) {
  Shell shell;
  shell.start();
  // The client area is as wide as the window but less high, by the menu bar.
  ASSERT_LT(shell.window.clientArea().height(), shell.window.clientArea().width());
  // A small label near the bottom: only a click inside its units reaches it.
  shell.form.LBl.Move(50, 90, 10, 10);
  shell.click(55, 85);
  EXPECT_EQ(shell.form.scenePage, 0);
  shell.click(45, 95);
  EXPECT_EQ(shell.form.scenePage, 0);
  shell.click(55, 91);
  EXPECT_EQ(shell.form.scenePage, 1);
  shell.click(59.5, 99.5);
  EXPECT_EQ(shell.form.scenePage, 2);
}

TEST(MouseInput, PressAndReleaseOverDifferentControlsIsNoClick) {
  Shell shell;
  shell.start();
  shell.form.LBl.Move(0, 0, 50, 100);
  QWidget& client = shell.window.clientArea();
  QTest::mousePress(&client, Qt::LeftButton, {}, shell.pixelOf(25, 50));
  QTest::mouseRelease(&client, Qt::LeftButton, {}, shell.pixelOf(75, 50));
  EXPECT_EQ(shell.form.scenePage, 0);
  QTest::mousePress(&client, Qt::LeftButton, {}, shell.pixelOf(25, 50));
  QTest::mouseRelease(&client, Qt::LeftButton, {}, shell.pixelOf(30, 60));
  EXPECT_EQ(shell.form.scenePage, 1);
}

TEST(MouseInput, AQuickDoubleClickInFlightIsTwoWingBeats) {
  Shell shell;
  shell.start();
  shell.startFlight();
  ASSERT_EQ(shell.form.distance, 1);
  ASSERT_EQ(shell.form.wingFrame, 1);

  doubleClickAsQtDeliversIt(shell.window.clientArea(), shell.pixelOf(50, 50));
  EXPECT_EQ(shell.form.wingFrame, 1);
  EXPECT_EQ(shell.form.distance, 2);

  // The same through the window system's own double-click detection.
  QWindow* handle = shell.window.windowHandle();
  ASSERT_NE(handle, nullptr);
  const QPoint at = shell.window.clientArea().mapTo(&shell.window, shell.pixelOf(50, 50));
  QTest::mouseDClick(handle, Qt::LeftButton, {}, at);
  EXPECT_EQ(shell.form.wingFrame, 1);
  EXPECT_EQ(shell.form.distance, 3);
}

TEST(Activation, OnlyTheFirstShowingStartsAGame) {
  Shell shell;
  shell.start();
  ASSERT_EQ(shell.scene(), u"open");
  shell.click();
  ASSERT_EQ(shell.form.scenePage, 1);

  shell.window.hide();
  shell.window.show();
  QApplication::setActiveWindow(&shell.window);
  QEvent activate(QEvent::WindowActivate);
  QApplication::sendEvent(&shell.window, &activate);
  EXPECT_EQ(shell.form.scenePage, 1);
  EXPECT_EQ(shell.pictureShown(), shell.path("open0.bmp"));
}

TEST(Closing, ClosingTheWindowUnloadsTheGameOnce) {
  Shell shell;
  shell.start();
  shell.window.close();
  shell.window.close();
  const auto closes = std::count(shell.music.commands.begin(), shell.music.commands.end(), "close");
  EXPECT_EQ(closes, 1);
  EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(shell.path("scr.dat"))));
  EXPECT_TRUE(shell.exits.empty());
}

}  // namespace
}  // namespace pirune::desktop::testing
