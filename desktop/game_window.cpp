#include "game_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>
#include <QScreen>
#include <QShowEvent>
#include <utility>

#include "desktop_platform.h"
#include "game/form.h"

namespace pirune::desktop {

namespace {

// One frame of a 60 Hz display: the model may change far more often than the player can see,
// and a second paint within one frame would never be seen.
constexpr qint64 kFrameNs = 1'000'000'000 / 60;
constexpr qint64 kNsPerMs = 1'000'000;

}  // namespace

GameWindow::GameWindow(FOM& form, DesktopPlatform& platform)
    : form_(form),
      platform_(platform),
      boundary_(form),
      client_(new ClientArea(form, boundary_, this)) {
  setWindowTitle(QString::fromStdU16String(kAppTitle));
  // Inside the window even where the desktop offers a global menu bar: the window is square
  // with its menu bar.
  menuBar()->setNativeMenuBar(false);
  setCentralWidget(client_);

  boundary_.setParentWindow(this);
  timerDriver_ = std::make_unique<TimerDriver>(
      form_.timers, [&platform] { return platform.nowMs(); }, boundary_);
  menus_ = std::make_unique<MenuMirror>(*menuBar(), form_.menuBar, [this](MenuItem& item) {
    boundary_.run([&item] { item.onClick(); });
  });
  boundary_.onFailure = [this] {
    timerDriver_->stop();
    frameTimer_.stop();
  };
  boundary_.afterCall = [this] { refresh(); };

  frameTimer_.setSingleShot(true);
  // A coarse timer may fire a few milliseconds early, which would put two paints in one frame.
  frameTimer_.setTimerType(Qt::PreciseTimer);
  connect(&frameTimer_, &QTimer::timeout, client_, [this] { paintFrame(); });

  frameStats_ = FrameStats::fromEnvironment(form_);
  // Frames are paced from the moment a paint really begins: before it the toolkit may wait for
  // the X server to take the last frame, and a frame paced from the request could follow the
  // late one within a display frame.
  client_->onPaint = [this] {
    sinceFrame_.start();
    if (frameStats_) {
      frameStats_->painted();
    }
  };

  platform_.attachWindow(this);
  platform_.beforeBox = [this] {
    refresh();
    client_->repaint();
  };
}

GameWindow::~GameWindow() {
  client_->onPaint = nullptr;
  platform_.beforeBox = nullptr;
  platform_.attachWindow(nullptr);
}

bool GameWindow::load() {
  return boundary_.run([this] { form_.Form_Load(); });
}

void GameWindow::showCentred() {
  centre();
  show();
  platform_.fitOuterSize();
  centre();
}

void GameWindow::centre() {
  if (const QScreen* screen = this->screen(); screen != nullptr) {
    move(screen->geometry().center() - QRect(QPoint(0, 0), frameGeometry().size()).center());
  }
}

void GameWindow::refresh() {
  menus_->syncIfChanged();
  if (requestedRevision_ == form_.window.revision()) {
    return;
  }
  requestedRevision_ = form_.window.revision();
  // Taken at every change, not only when the frame is painted: whatever happens between now
  // and that paint is taken by the next change, so no pixel that differs is ever missed.
  unpainted_ += damage_.take(form_.window, client_->rect());
  if (!unpainted_.isEmpty()) {
    requestFrame();
  }
}

void GameWindow::requestFrame() {
  // A frame already on its way paints the newest state.
  if (frameTimer_.isActive()) {
    return;
  }
  const qint64 since = sinceFrame_.isValid() ? sinceFrame_.nsecsElapsed() : kFrameNs;
  if (since >= kFrameNs) {
    paintFrame();
  } else {
    // Rounded up to whole milliseconds, so the frame is never early.
    frameTimer_.start(static_cast<int>((kFrameNs - since + kNsPerMs - 1) / kNsPerMs));
  }
}

void GameWindow::paintFrame() {
  if (unpainted_.isEmpty()) {
    return;
  }
  client_->repaint(std::exchange(unpainted_, QRegion()));
}

void GameWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  // The window is activated once in the program's life; coming back to it later is no new game.
  if (!activated_) {
    activated_ = true;
    boundary_.run([this] { form_.Form_Activate(); });
  }
}

void GameWindow::closeEvent(QCloseEvent* event) {
  if (boundary_.failed() || unloaded_) {
    event->accept();
    return;
  }
  std::int16_t cancel = 0;
  const bool done = boundary_.run([this, &cancel] { form_.Form_Unload(cancel); });
  if (done && cancel != 0) {
    event->ignore();
    return;
  }
  unloaded_ = true;
  event->accept();
  if (done) {
    QCoreApplication::quit();
  }
}

}  // namespace pirune::desktop
