// The real window as the player sees and works it, over a folder of small test pictures with a
// clock the test moves: a frame checked by pixels, the mouse on the client area, the
// menu bar, the system timer that drives the flight, the boxes, the flights kept and watched
// again, and the system's requests to quit.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QInputDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <csignal>
#include <functional>
#include <utility>

#include "game_window.h"
#include "ranking/scr_dat.h"
#include "support/recording_music.h"
#include "window_shell.h"

namespace pirune::desktop::testing {
namespace {

TEST(Window, PressesComeInTheClientAreasUnits) {
  Shell shell;
  // Pressed and released over the label, as the client's units place it, not its pixels: the
  // client area is no square, so either axis scaled wrong misses the label.
  shell.form().LBl.Move(50, 90, 10, 10);
  QTest::mousePress(&shell.client(), Qt::LeftButton, {}, shell.pixelOf(59.5, 99.5));
  QTest::mouseRelease(&shell.client(), Qt::LeftButton, {}, shell.pixelOf(51, 91));
  EXPECT_EQ(shell.form().scenePage, 1);
  // Qt turns a quick second press into a double click: for the game it is one more wing beat.
  shell.form().LBl.Move(0, 0, 100, 100);
  shell.click();
  shell.click();
  QTest::mouseDClick(shell.window.windowHandle(), Qt::LeftButton, {},
                     shell.client().mapTo(&shell.window, shell.pixelOf(50, 50)));
  EXPECT_EQ(shell.form().distance, 2);
}

TEST(Window, TheMenuBarMirrorsTheGamesMarksAndLocksAndNeverTogglesItself) {
  Shell shell;
  const auto bar = [&] { return describe(shell.window.menuBar()->actions()).toStdString(); };
  EXPECT_EQ(
      bar(),
      "メニュウ{遊び方 バージョン} オプション{ＢＧＭ[x] 無限モード[ ] 背景効果[x]} "
      "初期化スタート ランキング リプレイ{前回の飛行を見る- 1位の飛行を見る- 2位の飛行を見る- "
      "3位の飛行を見る- 4位の飛行を見る- 5位の飛行を見る- 記録ファイルを開いて見る… "
      "前回の飛行をファイルに保存…-} 世界ランキング{世界ランキングを見る- サーバーのアドレス…}");
  shell.choose(*shell.form().mnu1[1]);
  shell.startFlight();
  EXPECT_NE(bar().find("無限モード[x]-"), std::string::npos);
  // A command that leaves the mark alone leaves the action's mark alone, though Qt flipped it.
  shell.form().mnu1[2]->onClick = [] {};
  shell.choose(*shell.form().mnu1[2]);
  EXPECT_NE(bar().find("背景効果[x]"), std::string::npos);
}

TEST(Window, TheSystemTimerDrivesTheFlightByTheGamesClockAndABoxHoldsIt) {
  Shell shell;
  shell.startFlight();
  shell.pass(500);
  EXPECT_EQ(shell.form().altitude, 49);
  const BoxAnswer answer({}, [&](QDialog* box) {
    shell.now += 5000;  // the player reads for five seconds
    // The timer fires while the box is open, finds nothing it may deliver and rests.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !shell.driver->isActive(); }, 2000));
    box->accept();
  });
  shell.choose(*shell.form().playmnu1[0]);
  // Once the box is gone, the flight goes on from where it was held.
  EXPECT_EQ(shell.form().altitude, 49);
  shell.pass(400);
  EXPECT_EQ(shell.form().altitude, 49);
  shell.pass(100);
  EXPECT_EQ(shell.form().altitude, 48);
}

TEST(Window, TheNameBoxTheHelpAndTheVersionSpeakJapaneseUnderTheirTitles) {
  Shell shell;
  shell.choose(*shell.form().mnu1[1]);
  shell.startFlight();
  shell.form().distance = 40;
  const BoxAnswer name("ICARUS-PIRUNE");
  shell.choose(shell.form().mnu2);
  EXPECT_EQ(name.seen.join('|'),
            "1位|1位を取りました。\nなんて長い距離でしょう、\n名前を入れてね！（半角10文字）|OK|"
            "キャンセル");
  EXPECT_EQ(shell.form().rankTable[0].name, u"ICARUS-PIR");  // as typed, cut to ten
  // Each text whole, its lines broken at LF.
  const std::pair<const MenuItem*, QString> boxes[] = {
      {shell.form().playmnu1[0].get(),
       "マウスクリックでピルネが羽ばたきます。\n飛びすぎると羽が溶けて\n"
       "ピルネノ飛行ダウン率が上がります。\n下がりすぎると死にます。\n"
       "オプションの無限メニュウで\n何処までも飛んでいくことが出来ます。\n"
       "（コンピューターの限界まで）"},
      {shell.form().playmnu1[1].get(), "ピルネノ翼ver1.00\nby the ピルネノ翼 project"},
  };
  for (const auto& [item, text] : boxes) {
    const BoxAnswer box;
    shell.choose(*item);
    EXPECT_EQ(box.seen.join('|'), "ピルネノ翼|" + text + "|OK");
  }
}

// The last flight is kept beside scr.dat and watched again in the window at its own pace, its
// end said in the title, until a click or Esc brings the live game back as it was. A kept
// record that cannot be read is not offered, and the ranking is none the worse for it.
TEST(Window, TheLastFlightIsKeptAndWatchedAgainUntilAClickOrEsc) {
  RankTable ranked{};
  ranked[0] = {fitName(u"TESTER"), 40};
  Shell shell([&](const QDir& folder) {
    QFile scr(folder.filePath("scr.dat"));
    ASSERT_TRUE(scr.open(QIODevice::WriteOnly));
    scr.write(QByteArray::fromStdString(encodeRanking(ranked)));
    ASSERT_TRUE(folder.mkpath("flights"));
    QFile broken(folder.filePath("flights/1.pflight"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("PFLT\x01 no flight at all");
  });
  const auto bar = [&] { return describe(shell.window.menuBar()->actions()); };
  EXPECT_EQ(shell.form().rankTable, ranked);
  EXPECT_TRUE(bar().contains("前回の飛行を見る- 1位の飛行を見る-")) << bar().toStdString();

  // A beat every tenth of a second lifts him to the ceiling, where the wax melts ten times.
  shell.startFlight();
  int beats = 0;
  while (shell.form().inFlight() && beats < 60) {
    shell.click();
    ++beats;
    shell.pass(100);
  }
  ASSERT_EQ(shell.form().sceneName, u"otiru1");
  const int reached = shell.form().distance;
  EXPECT_EQ(reached, 1 + beats / 2);  // one to start with, and one for every second beat
  EXPECT_TRUE(QFile::exists(shell.folder.filePath("flights/last.pflight")));
  shell.click();  // past the fall's page to the title of a new game
  ASSERT_EQ(shell.centreColour(), kStoryRed);

  const QString ended =
      QString("ピルネノ翼 — リプレイ終わり：距離 %1・翼がなくなった").arg(reached);
  const std::pair<const char*, std::function<void()>> enders[] = {
      {"a click", [&] { shell.click(); }},
      {"Esc", [&] { QTest::keyClick(shell.window.windowHandle(), Qt::Key_Escape); }},
  };
  for (const auto& [how, end] : enders) {
    SCOPED_TRACE(how);
    shell.choose(QString("前回の飛行を見る"));
    EXPECT_EQ(shell.window.windowTitle(), "ピルネノ翼 — リプレイ中（クリックか Esc で終わります）");
    ASSERT_TRUE(shell.passUntil([&] { return shell.window.windowTitle() == ended; }))
        << shell.window.windowTitle().toStdString();
    EXPECT_NE(shell.centreColour(), kStoryRed);  // the watched flight as it ended
    end();
    EXPECT_EQ(shell.window.windowTitle(), "ピルネノ翼");
    EXPECT_EQ(shell.centreColour(), kStoryRed);
    EXPECT_EQ(shell.form().scenePage, 0);  // the live game waited on its title
  }
  // Saved as a file of the player's, byte for byte, and watched again from there.
  const QString mine = shell.folder.filePath("mine.pflight");
  const auto bytes = [](const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  };
  for (const char* caption : {"前回の飛行をファイルに保存…", "記録ファイルを開いて見る…"}) {
    const BoxAnswer file(mine);
    shell.choose(QString(caption));
  }
  EXPECT_EQ(bytes(mine), bytes(shell.folder.filePath("flights/last.pflight")));
  EXPECT_TRUE(shell.passUntil([&] { return shell.window.windowTitle() == ended; }));
  EXPECT_EQ(shell.form().rankTable, ranked);
}

// A run-time error, here a story picture that is missing, is reported in the game's box; then
// the program ends.
TEST(Window, ARunTimeErrorIsShownInTheGamesBoxThenTheProgramEnds) {
  Shell shell;
  const QString missing = shell.folder.filePath("open0.bmp");
  ASSERT_TRUE(QFile::remove(missing));
  const BoxAnswer answer;
  shell.click();
  EXPECT_EQ(shell.exits, std::vector<int>{kFailureStatus});
  EXPECT_EQ(answer.seen.join('|'),
            "ピルネノ翼|画像ファイル " + missing + " を読み込めません: ファイルがありません|OK");
}

// The system's requests to quit close the game as its window's close does, with a box of it
// open: the box cancelled, the ranking saved (which the game does as it closes), the program's
// status 0.
TEST(SystemQuit, EachSignalClosesTheGameAndTheOpenBoxCountsAsCancelled) {
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
    for (const bool nameBox : {true, false}) {
      SCOPED_TRACE(signal * 10 + static_cast<int>(nameBox));
      Shell shell;
      shell.choose(*shell.form().mnu1[1]);
      shell.startFlight();
      shell.form().distance = 40;
      QTimer::singleShot(0, &shell.window, [&] {
        const BoxAnswer inTheBox({}, [signal](QDialog*) { std::raise(signal); });
        shell.choose(nameBox ? shell.form().mnu2 : *shell.form().playmnu1[0]);
      });
      EXPECT_EQ(QCoreApplication::exec(), 0);
      // Quit inside the name box: no name, and the score stays.
      QFile scr(shell.folder.filePath("scr.dat"));
      ASSERT_TRUE(scr.open(QIODevice::ReadOnly));
      EXPECT_EQ(scr.readAll().left(12),
                QByteArray(10, ' ') + (nameBox ? QByteArray("(\0", 2) : QByteArray(2, '\0')));
    }
  }
}

}  // namespace
}  // namespace pirune::desktop::testing
