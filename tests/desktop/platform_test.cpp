// The desktop's side of the game's platform: pictures from files, boxes, the window's size,
// the random generator.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <set>

#include "game/runtime_error.h"
#include "qt_picture.h"
#include "shell.h"

namespace pirune::desktop::testing {
namespace {

std::string messageOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const RuntimeError& error) {
    return error.what();
  }
  return "(no error)";
}

// The header of a 24-bit bitmap that claims the given size, followed by a few bytes of pixels.
QByteArray bitmapHeader(std::int32_t width, std::int32_t height) {
  QByteArray bytes(54 + 16, '\0');
  auto put32 = [&bytes](int at, std::uint32_t value) { qToLittleEndian(value, bytes.data() + at); };
  auto put16 = [&bytes](int at, std::uint16_t value) { qToLittleEndian(value, bytes.data() + at); };
  bytes[0] = 'B';
  bytes[1] = 'M';
  put32(2, static_cast<std::uint32_t>(bytes.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<std::uint32_t>(width));
  put32(22, static_cast<std::uint32_t>(height));
  put16(26, 1);
  put16(28, 24);
  return bytes;
}

void writeBytes(const QString& file, const QByteArray& bytes) {
  QFile out(file);
  ASSERT_TRUE(out.open(QIODevice::WriteOnly));
  out.write(bytes);
}

TEST(Pictures, LoadsAPictureAndRefusesWhatIsNone) {
  QTemporaryDir dir;
  writeTestPictures(dir.path());
  const std::string folder = dir.path().toStdString();

  const PictureRef title = loadPictureFile(folder + "/stt.bmp");
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->width(), 40);
  EXPECT_EQ(title->height(), 40);
  EXPECT_EQ(title->source(), folder + "/stt.bmp");
  ASSERT_NE(imageOf(*title), nullptr);
  EXPECT_EQ(imageOf(*title)->pixelColor(30, 30), kTitleBottomRight);

  EXPECT_EQ(messageOf([&] { loadPictureFile(folder + "/gone.bmp"); }),
            "画像ファイル " + folder + "/gone.bmp を読み込めません: ファイルがありません");
  EXPECT_EQ(messageOf([&] { loadPictureFile(folder); }),
            "画像ファイル " + folder + " を読み込めません: ファイルではありません");

  writeBytes(dir.filePath("text.bmp"), "not a picture at all");
  EXPECT_EQ(messageOf([&] { loadPictureFile(folder + "/text.bmp"); }),
            "画像ファイル " + folder + "/text.bmp を読み込めません: 画像として読めません");
  writeBytes(dir.filePath("empty.bmp"), QByteArray());
  EXPECT_EQ(messageOf([&] { loadPictureFile(folder + "/empty.bmp"); }),
            "画像ファイル " + folder + "/empty.bmp を読み込めません: 画像として読めません");

  // A few bytes that claim a picture of ten billion pixels: refused before any is made.
  writeBytes(dir.filePath("huge.bmp"), bitmapHeader(100000, 100000));
  const std::string huge = messageOf([&] { loadPictureFile(folder + "/huge.bmp"); });
  EXPECT_NE(huge.find("huge.bmp を読み込めません"), std::string::npos) << huge;
  writeBytes(dir.filePath("wide.bmp"), bitmapHeader(8193, 1));
  EXPECT_NE(messageOf([&] { loadPictureFile(folder + "/wide.bmp"); }).find("大きすぎます"),
            std::string::npos);
  // A header that promises more pixels than the file holds does not crash the reader.
  writeBytes(dir.filePath("short.bmp"), bitmapHeader(300, 300));
  const std::string cut = messageOf([&] { loadPictureFile(folder + "/short.bmp"); });
  EXPECT_FALSE(cut.empty());
}

TEST(Platform, WindowIsSquareAtHalfTheScreenWithTheMenuBarInside) {
  Shell shell;
  shell.start();
  const int half = QGuiApplication::primaryScreen()->geometry().height() / 2;
  EXPECT_EQ(shell.window.frameGeometry().height(), half);
  EXPECT_EQ(shell.window.frameGeometry().width(), half);
  EXPECT_EQ(shell.platform.outerHeight(), half);
  const QWidget& client = shell.window.clientArea();
  EXPECT_EQ(client.width(), shell.window.width());
  EXPECT_EQ(client.height(), shell.window.height() - shell.window.menuBar()->height());
  EXPECT_EQ(client.geometry().top(), shell.window.menuBar()->geometry().bottom() + 1);
  // Centred on the screen.
  const QPoint middle = QGuiApplication::primaryScreen()->geometry().center();
  EXPECT_LE((shell.window.frameGeometry().center() - middle).manhattanLength(), 2);
}

TEST(Platform, FolderRandomNumbersAndClock) {
  SilentMusic music;
  DesktopPlatform own(music);
  EXPECT_EQ(QString::fromStdString(own.programFolder()),
            QDir::cleanPath(QCoreApplication::applicationDirPath()));
  DesktopPlatform given(music, "/some/folder");
  EXPECT_EQ(given.programFolder(), "/some/folder");

  own.seedRandomFromClock();
  given.seedRandomFromClock();
  std::set<double> seen;
  bool differ = false;
  for (int i = 0; i < 1000; ++i) {
    const double a = own.rnd();
    const double b = given.rnd();
    ASSERT_GE(a, 0.0);
    ASSERT_LT(a, 1.0);
    seen.insert(a);
    differ = differ || a != b;
  }
  EXPECT_GT(seen.size(), 990U);
  EXPECT_TRUE(differ);

  const std::int64_t start = own.nowMs();
  QTest::qWait(30);
  EXPECT_GE(own.nowMs() - start, 30);
}

TEST(Platform, BoxesShowTheirTextAndAnswer) {
  Shell shell;
  shell.start();
  {
    const BoxCloser closer(50);
    shell.platform.messageBox(u"一行目\r\n二行目", u"ピルネノ翼");
    EXPECT_EQ(closer.seen().kind, "message");
    EXPECT_EQ(closer.seen().title, "ピルネノ翼");
    EXPECT_EQ(closer.seen().text, "一行目\n二行目");
  }
  {
    const BoxCloser closer(50, "ピルネ");
    const auto answer = shell.platform.inputBox(u"名前を\r\n入れてね", u"1位");
    EXPECT_EQ(closer.seen().kind, "input");
    EXPECT_EQ(closer.seen().title, "1位");
    EXPECT_EQ(closer.seen().text, "名前を\n入れてね");
    EXPECT_EQ(answer, std::optional<std::u16string>(u"ピルネ"));
  }
  {
    const BoxCloser closer(50, "");
    EXPECT_EQ(shell.platform.inputBox(u"?", u"2位"), std::optional<std::u16string>(u""));
  }
  {
    const BoxCloser closer(50);
    EXPECT_EQ(shell.platform.inputBox(u"?", u"3位"), std::nullopt);
    EXPECT_EQ(closer.seen().kind, "input");
  }
}

}  // namespace
}  // namespace pirune::desktop::testing
