#include "game_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QShowEvent>
#include <QSignalBlocker>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <utility>

namespace pirune::desktop {

GameWindow::GameWindow(MusicBackend& music, GamePlaces places, QLocalServer* laterStarts,
                       Clock clock, EndProgram endProgram)
    : platform_(music, *this, std::move(places), std::move(clock)),
      painter_(*this),
      session_(platform_, *this, painter_.fontMetrics()),
      client_(new ClientArea(session_, painter_, this)),
      timer_(this),
      endProgram_(std::move(endProgram)) {
  timer_.setSingleShot(true);
  timer_.setTimerType(Qt::PreciseTimer);
  setWindowTitle(QString::fromStdU16String(kAppTitle));
  // Inside the window even where the desktop offers a global menu bar: the window is square
  // with its menu bar.
  menuBar()->setNativeMenuBar(false);
  setCentralWidget(client_);

  connect(client_, &ClientArea::pressed, this,
          [this](MouseButton button, std::int16_t shift, QPointF at) {
            call([&] {
              session_.press(button, shift, static_cast<float>(at.x()), static_cast<float>(at.y()));
            });
          });
  connect(client_, &ClientArea::released, this, [this](MouseButton button, QPointF at) {
    call([&] { session_.release(button, static_cast<float>(at.x()), static_cast<float>(at.y())); });
  });
  connect(&timer_, &QTimer::timeout, this, [this] { call([this] { session_.tick(); }); });
  connect(&systemQuit_.notifier(), &QSocketNotifier::activated, this, [this] {
    systemQuit_.takeRequests();
    quitOnSystemRequest();
  });
  if (laterStarts != nullptr) {
    connect(laterStarts, &QLocalServer::newConnection, this, &GameWindow::comeToFront);
  }
}

bool GameWindow::load() { return session_.start(); }

void GameWindow::call(const std::function<void()>& procedure) {
  ++callDepth_;
  procedure();
  --callDepth_;
  closeIfQuitRequested();
}

void GameWindow::closeIfQuitRequested() {
  if (quitRequested_ && callDepth_ == 0 && !unloaded_) {
    close();
  }
}

void GameWindow::reportError(const std::string& text) {
  QMessageBox::critical(this, QString::fromStdU16String(kAppTitle), QString::fromStdString(text));
}

void GameWindow::armTimer(std::optional<std::int64_t> delayMs) {
  if (delayMs) {
    timer_.start(
        static_cast<int>(std::clamp<std::int64_t>(*delayMs, 0, std::numeric_limits<int>::max())));
  } else {
    timer_.stop();  // no timer can tick
  }
}

void GameWindow::buildMenus(const std::vector<MenuEntry>& entries) {
  // An entry's number is its place in the list, and a menu comes before its items.
  std::vector<QMenu*> menus;
  for (const MenuEntry& entry : entries) {
    QMenu* parent = entry.parent < 0 ? nullptr : menus.at(static_cast<std::size_t>(entry.parent));
    // Captions are shown as they stand: an ampersand is no access key.
    const QString caption =
        QString::fromStdU16String(entry.caption).replace(QLatin1Char('&'), QStringLiteral("&&"));
    QMenu* menu = nullptr;
    QAction* action = nullptr;
    if (entry.opensMenu) {
      menu = parent == nullptr ? menuBar()->addMenu(caption) : parent->addMenu(caption);
      action = menu->menuAction();
    } else {
      action = parent == nullptr ? menuBar()->addAction(caption) : parent->addAction(caption);
      connect(action, &QAction::triggered, this,
              [this, id = entry.id] { call([this, id] { session_.menuCommand(id); }); });
    }
    action->setCheckable(entry.checkable);
    action->setMenuRole(QAction::NoRole);
    menus.push_back(menu);
    actions_.push_back(action);
  }
}

void GameWindow::showMenuItem(const MenuState& state) {
  QAction* action = actions_.at(static_cast<std::size_t>(state.id));
  const QSignalBlocker quiet(action);
  action->setChecked(state.checked);
  action->setEnabled(state.enabled);
}

void GameWindow::invalidate(const Region& region) { client_->invalidate(region); }

void GameWindow::end(int status) {
  if (endProgram_) {
    endProgram_(status);
    return;
  }
  // Inside a box of the game the procedure that opened it would go on once the box closed, so
  // the program ends right here; from the main loop it ends the ordinary way.
  if (session_.started() && session_.form().timers.modalOpen()) {
    std::fflush(nullptr);
    std::_Exit(status);
  }
  QCoreApplication::exit(status);
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
  call([this] { session_.activate(); });
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
  if (unloaded_ || session_.failed()) {
    return;
  }
  unloaded_ = true;
  bool ended = false;
  call([this, &ended] { ended = session_.quit(); });
  if (ended) {
    QCoreApplication::exit(0);
  }
}

}  // namespace pirune::desktop
