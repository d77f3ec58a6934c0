// The toolkit's floor for the benchmark: a Qt window as big as the game's, with a menu bar of
// the same shape, its client area painted black, and nothing else: no pictures, no music, no
// Japanese text.
//
// Built a second time as bare_window_like_game, it also does what the game cannot do without:
// it links the music libraries, opens the sound output and has the game's Japanese menu
// titles. What the game costs beyond that is the game's own.
//
//   bare_window [--animate]

#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPaintEvent>
#include <QPainter>
#include <QRandomGenerator>
#include <QRegion>
#include <QScreen>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <vector>

#ifdef PIRUNE_BARE_LIKE_GAME

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>
#include <cstdio>
#include <memory>
#endif

namespace {

// With --animate, four squares shrink towards their corner a few pixels a frame and show up
// elsewhere, about as the game's background effect does: what a 60 Hz animation of a few
// small rectangles costs in the toolkit itself.
class BlackArea : public QWidget {
 public:
  BlackArea(QWidget* parent, bool animate) : QWidget(parent), squares_(animate ? 4 : 0) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    if (animate) {
      ticks_.setTimerType(Qt::PreciseTimer);
      connect(&ticks_, &QTimer::timeout, this, [this] { step(); });
      // Only once the first frame has been seen black, as the benchmark waits for it.
      QTimer::singleShot(500, this, [this] { ticks_.start(16); });
    }
  }

 protected:
  void paintEvent(QPaintEvent* /*event*/) override {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    for (const QRect& square : squares_) {
      painter.fillRect(square, Qt::darkCyan);
    }
  }

 private:
  void step() {
    QRegion changed;
    for (QRect& square : squares_) {
      changed += square;
      if (square.width() > 10) {
        square.setSize(square.size() - QSize(5, 5));
      } else {
        const int side = 20 + QRandomGenerator::global()->bounded(130);
        square =
            QRect(QRandomGenerator::global()->bounded(std::max(1, width() - side)),
                  QRandomGenerator::global()->bounded(std::max(1, height() - side)), side, side);
      }
      changed += square;
    }
    repaint(changed);
  }

  std::vector<QRect> squares_;
  QTimer ticks_;
};

#ifdef PIRUNE_BARE_LIKE_GAME
// A sound output opened at start, as the game once did before its first frame.
std::unique_ptr<QAudioSink> openSoundOutput() {
  const QAudioDevice device = QMediaDevices::defaultAudioOutput();
  if (device.isNull()) {
    return nullptr;
  }
  QAudioFormat format;
  format.setSampleRate(44100);
  format.setChannelCount(2);
  format.setSampleFormat(QAudioFormat::Int16);
  return std::make_unique<QAudioSink>(device, format);
}
constexpr const char* kTitle = "pirune-bare-window-like-game";
// The two menus with their items, then the two commands of the bar.
QStringList menuTitles() {
  return {QString::fromUtf8("メニュウ"),   QString::fromUtf8("遊び方"),
          QString::fromUtf8("バージョン"), QString::fromUtf8("オプション"),
          QString::fromUtf8("ＢＧＭ"),     QString::fromUtf8("無限モード"),
          QString::fromUtf8("背景効果"),   QString::fromUtf8("初期化スタート"),
          QString::fromUtf8("ランキング")};
}
#else
constexpr const char* kTitle = "pirune-bare-window";
QStringList menuTitles() {
  return {"Menu",    "How to play", "Version", "Options", "Music",
          "Endless", "Background",  "Restart", "Ranking"};
}
#endif

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
#ifdef PIRUNE_BARE_LIKE_GAME
  const auto sound = openSoundOutput();
#endif
  const QStringList menus = menuTitles();
  QMainWindow window;
  window.setWindowTitle(QString::fromLatin1(kTitle));
  window.menuBar()->setNativeMenuBar(false);
  QMenu* help = window.menuBar()->addMenu(menus[0]);
  help->addAction(menus[1]);
  help->addAction(menus[2]);
  QMenu* options = window.menuBar()->addMenu(menus[3]);
  for (int i = 4; i <= 6; ++i) {
    options->addAction(menus[i])->setCheckable(true);
  }
  window.menuBar()->addAction(menus[7]);
  window.menuBar()->addAction(menus[8]);
  const bool animate = QCoreApplication::arguments().contains(QStringLiteral("--animate"));
  window.setCentralWidget(new BlackArea(&window, animate));

  // Square, half the screen high and in its middle, as the game's window.
  if (const QScreen* screen = QGuiApplication::primaryScreen(); screen != nullptr) {
    const int side = screen->geometry().height() / 2;
    window.resize(side, side);
    window.move(screen->geometry().center() - QPoint(side / 2, side / 2));
  }
  window.show();
  return QApplication::exec();
}
