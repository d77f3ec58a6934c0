// A run-time error from the game: shown in a box titled with the game's name, the ranking kept,
// the program ended with a failure status, and no further call into the game.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QMessageBox>
#include <QTimer>
#include <algorithm>
#include <cstdlib>

#include "game/runtime_error.h"
#include "shell.h"

namespace pirune::desktop::testing {
namespace {

TEST(ErrorBoundary, AMissingPictureIsShownTheRankingKeptAndTheGameLeftAlone) {
  Shell shell;
  shell.start();
  ASSERT_TRUE(QFile::remove(QString::fromStdString(shell.path("open0.bmp"))));
  shell.form.rankTable[0] = {u"ABCDEFGHIJ", 0x1234};

  const BoxCloser closer(50);
  shell.click();
  EXPECT_EQ(shell.exits, std::vector<int>({kFailureStatus}));
  EXPECT_EQ(closer.seen().title, "ピルネノ翼");
  EXPECT_EQ(closer.seen().text, QString::fromStdString("画像ファイル " + shell.path("open0.bmp") +
                                                       " を読み込めません: ファイルがありません"));
  EXPECT_FALSE(shell.window.timerDriver().armed());

  // The ranking as it stood: record 1 holds the name and the score, little-endian.
  QFile ranking(QString::fromStdString(shell.path("scr.dat")));
  ASSERT_TRUE(ranking.open(QIODevice::ReadOnly));
  const QByteArray bytes = ranking.readAll();
  EXPECT_EQ(bytes.size(), 60);
  EXPECT_EQ(bytes.left(12), QByteArray("ABCDEFGHIJ\x34\x12"));

  // Clicks, menus and closing no longer reach the game.
  const auto page = shell.form.scenePage;
  shell.click();
  shell.window.menus().actionFor(*shell.form.mnu1[2])->trigger();
  EXPECT_EQ(shell.form.scenePage, page);
  EXPECT_TRUE(shell.form.mnu1[2]->Checked());
  shell.window.close();
  EXPECT_EQ(std::count(shell.music.commands.begin(), shell.music.commands.end(), "close"), 0);
  EXPECT_EQ(shell.exits.size(), 1U);
}

TEST(ErrorBoundary, AFailedLoadIsReportedAndShowsNoWindow) {
  Shell shell(false);
  // The ranking file cannot be made where a folder of that name stands.
  ASSERT_TRUE(QDir(shell.folder.path()).mkdir("scr.dat"));
  const BoxCloser closer(50);
  EXPECT_FALSE(shell.window.load());
  EXPECT_EQ(closer.seen().title, "ピルネノ翼");
  EXPECT_TRUE(closer.seen().text.contains("scr.dat")) << closer.seen().text.toStdString();
  EXPECT_EQ(shell.exits, std::vector<int>({kFailureStatus}));
  EXPECT_FALSE(shell.window.isVisible());
}

// Each in a process of its own: once the program has been told to end, no event loop of this
// process runs again.
void failFromTheMainLoop() {
  Shell shell;
  shell.start();
  QFile::remove(QString::fromStdString(shell.path("open0.bmp")));
  shell.window.boundary().endProgram = ErrorBoundary::endProgramAfterError;
  const BoxCloser closer(50);
  QTimer::singleShot(0, [&shell] { shell.click(); });
  QEventLoop mainLoop;
  const int status = mainLoop.exec();
  std::_Exit(closer.seen().title == "ピルネノ翼" ? status : 5);
}

// An error in a timer's tick while a box of the game is open: the procedure that opened the box
// must not go on after it.
void failInsideABox() {
  Shell shell;
  shell.start();
  shell.window.boundary().endProgram = ErrorBoundary::endProgramAfterError;
  shell.form.MMCTIM.onTick = [] { throw RuntimeError("音楽のエラー"); };
  shell.form.MMCTIM.setInterval(100);
  shell.form.MMCTIM.setEnabled(true);
  QTimer closeErrors;
  QObject::connect(&closeErrors, &QTimer::timeout, [] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box != nullptr && box->icon() == QMessageBox::Critical) {
      box->button(QMessageBox::Ok)->click();
    }
  });
  closeErrors.start(150);
  QTimer::singleShot(0, [&shell] {
    shell.window.menus().actionFor(*shell.form.playmnu1[1])->trigger();
    std::_Exit(3);  // reached only if the program went on after the error
  });
  QEventLoop mainLoop;
  mainLoop.exec();
  std::_Exit(4);
}

TEST(ErrorBoundaryDeathTest, TheProgramEndsWithAFailureStatus) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(failFromTheMainLoop(), ::testing::ExitedWithCode(kFailureStatus), "");
  EXPECT_EXIT(failInsideABox(), ::testing::ExitedWithCode(kFailureStatus), "");
}

}  // namespace
}  // namespace pirune::desktop::testing
