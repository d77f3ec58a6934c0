// The desktop's side of the game's platform: pictures refused with a reason, the window's size,
// the program's folder, the random generator and the answer of the name box.

#include <gtest/gtest.h>

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QTemporaryDir>

#include "game/runtime_error.h"
#include "qt_picture.h"
#include "shell.h"

namespace pirune::desktop::testing {
namespace {

TEST(Pictures, WhatIsNoPictureIsRefusedWithItsReasonBeforeAnyPixelIsMade) {
  QTemporaryDir dir;
  QFile text(dir.filePath("text.bmp"));
  ASSERT_TRUE(text.open(QIODevice::WriteOnly));
  text.write("not a picture at all");
  text.close();
  // A real picture, one pixel wider than the game takes.
  ASSERT_TRUE(QImage(8193, 1, QImage::Format_RGB32).save(dir.filePath("wide.bmp"), "BMP"));
  // A header that claims 60000 by 60000 over a few bytes: refused before anything is allocated
  // (the reader already finds such a header inconsistent).
  QByteArray huge;
  {
    QBuffer buffer(&huge);
    ASSERT_TRUE(buffer.open(QIODevice::WriteOnly));
    ASSERT_TRUE(QImage(2, 2, QImage::Format_RGB32).save(&buffer, "BMP"));
  }
  const QByteArray claimed = QByteArray::fromHex("60ea0000");  // 60000, little-endian
  huge.replace(18, 4, claimed).replace(22, 4, claimed);
  QFile hugeFile(dir.filePath("huge.bmp"));
  ASSERT_TRUE(hugeFile.open(QIODevice::WriteOnly));
  hugeFile.write(huge);
  hugeFile.close();
  // A real picture whose pixels stop a tenth of the way in.
  ASSERT_TRUE(QImage(100, 100, QImage::Format_RGB32).save(dir.filePath("whole.bmp"), "BMP"));
  QFile whole(dir.filePath("whole.bmp"));
  ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
  const QByteArray head = whole.read(3000);
  whole.close();
  QFile cut(dir.filePath("cut.bmp"));
  ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
  cut.write(head);
  cut.close();
  for (const auto& [name, reason] : {std::pair{"text.bmp", "画像として読めません"},
                                     {"wide.bmp", "画像が大きすぎます (8193×1)"},
                                     {"huge.bmp", "画像として読めません"},
                                     {"cut.bmp", "画像のデータが途中で切れています"}}) {
    const std::string path = dir.filePath(name).toStdString();
    try {
      loadPictureFile(path);
      ADD_FAILURE() << name << " was taken for a picture";
    } catch (const RuntimeError& error) {
      EXPECT_EQ(
          error.what(),
          std::string("画像ファイル ").append(path).append(" を読み込めません: ").append(reason));
    }
  }
}

TEST(Platform, WindowIsSquareAtHalfTheScreenCentredWithTheMenuBarInside) {
  Shell shell;
  shell.start();
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  EXPECT_EQ(shell.window.frameGeometry().size(), QSize(screen.height() / 2, screen.height() / 2));
  EXPECT_EQ(shell.platform.outerHeight(), screen.height() / 2);
  const int bar = shell.window.menuBar()->height();
  EXPECT_EQ(shell.window.clientArea().geometry(),
            QRect(0, bar, shell.window.width(), shell.window.height() - bar));
  EXPECT_LE((shell.window.frameGeometry().center() - screen.center()).manhattanLength(), 2);
}

TEST(Platform, TheProgramsFolderAndRandomNumbersSeededFromTheClock) {
  SilentMusic music;
  DesktopPlatform own(music);
  // The folder of the running program, never the current directory.
  EXPECT_EQ(QString::fromStdString(own.programFolder()),
            QDir::cleanPath(QCoreApplication::applicationDirPath()));
  DesktopPlatform other(music, "/some/folder");
  own.seedRandomFromClock();
  other.seedRandomFromClock();
  // Seeded, the two draw differently; never 1.0, which would pick one colour too many.
  bool differ = false;
  for (int i = 0; i < 1000; ++i) {
    const double a = own.rnd();
    ASSERT_TRUE(a >= 0.0 && a < 1.0) << a;
    differ = differ || a != other.rnd();
  }
  EXPECT_TRUE(differ);
}

TEST(Platform, TheNameBoxGivesBackWhatWasTypedInJapaneseToo) {
  Shell shell;
  shell.start();
  const BoxCloser closer(50, "ピルネ翼");
  EXPECT_EQ(shell.platform.inputBox(u"?", u"1位"), std::optional<std::u16string>(u"ピルネ翼"));
}

}  // namespace
}  // namespace pirune::desktop::testing
