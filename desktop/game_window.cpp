#include "game_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QMenuBar>
#include <QScreen>
#include <QShowEvent>
#include <utility>

namespace pirune::desktop {

GameWindow::GameWindow(MusicBackend& music, GamePlaces places, QLocalServer* laterStarts,
                       Clock clock, EndProgram endProgram)
    : platform_(music, *this, std::move(places), std::move(clock)),
      form_(platform_),
      boundary_(form_, this, std::move(endProgram)),
      client_(new ClientArea(form_.window, this)),
      menus_(*menuBar(), form_.menuBar),
      timerDriver_(form_.timers, this) {
  setWindowTitle(QString::fromStdU16String(kAppTitle));
  // Inside the window even where the desktop offers a global menu bar: the window is square
  // with its menu bar.
  menuBar()->setNativeMenuBar(false);
  setCentralWidget(client_);

  connect(client_, &ClientArea::pressed, this,
          [this](MouseButton button, std::int16_t shift, QPointF at) {
            call([&] {
              form_.pointerPressed(button, shift, static_cast<float>(at.x()),
                                   static_cast<float>(at.y()));
            });
          });
  connect(client_, &ClientArea::released, this, [this](MouseButton button, QPointF at) {
    call([&] {
      form_.pointerReleased(button, static_cast<float>(at.x()), static_cast<float>(at.y()));
    });
  });
  for (const auto& [item, action] : menus_.actions()) {
    if (item->onClick) {
      connect(action, &QAction::triggered, this, [this, item = item] { call(item->onClick); });
    }
  }
  connect(&timerDriver_, &QTimer::timeout, this,
          [this] { call([this] { form_.timers.fireDue(); }); });
  connect(&systemQuit_.notifier(), &QSocketNotifier::activated, this, [this] {
    systemQuit_.takeRequests();
    quitOnSystemRequest();
  });
  if (laterStarts != nullptr) {
    connect(laterStarts, &QLocalServer::newConnection, this, &GameWindow::comeToFront);
  }
}

bool GameWindow::load() {
  call([this] { form_.Form_Load(); });
  return !boundary_.failed();
}

void GameWindow::call(const std::function<void()>& procedure) {
  ++callDepth_;
  const bool done = boundary_.run(procedure);
  --callDepth_;
  if (done) {
    catchUp();
  }
  closeIfQuitRequested();
}

void GameWindow::closeIfQuitRequested() {
  if (quitRequested_ && callDepth_ == 0 && !unloaded_) {
    close();
  }
}

void GameWindow::catchUp() {
  menus_.sync();
  timerDriver_.rearm();
  client_->showChanges();
}

void GameWindow::showCentred() {
  // The game set the outer size before the window was shown, when no frame counted; where a
  // window manager adds a frame, it is known only now.
  const QSize outer = size();
  centre();
  show();
  resize(outer - frameExtra(*this));
  centre();
}

void GameWindow::centre() {
  if (const QScreen* screen = this->screen(); screen != nullptr) {
    move(screen->geometry().center() - QRect(QPoint(0, 0), frameGeometry().size()).center());
  }
}

void GameWindow::comeToFront() {
  setWindowState(windowState() & ~Qt::WindowMinimized);
  show();
  raise();
  activateWindow();
}

void GameWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  // The window is activated once in the program's life; coming back to it later is no new game.
  if (!activated_) {
    activated_ = true;
    call([this] { form_.Form_Activate(); });
  }
}

void GameWindow::quitOnSystemRequest() {
  quitRequested_ = true;
  // An open box is answered as the player would cancel it. The procedure that opened it then
  // runs to its end, and the window closes as soon as the game is back in the event loop
  // (call() closes it when that procedure returns).
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (auto* box = qobject_cast<QDialog*>(window); box != nullptr && box->isVisible()) {
      box->reject();
    }
  }
  closeIfQuitRequested();
}

void GameWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  if (unloaded_ || boundary_.failed()) {
    return;
  }
  unloaded_ = true;
  std::int16_t cancel = 0;  // the game never refuses to close
  call([this, &cancel] { form_.Form_Unload(cancel); });
  if (!boundary_.failed()) {
    QCoreApplication::exit(0);
  }
}

}  // namespace pirune::desktop
