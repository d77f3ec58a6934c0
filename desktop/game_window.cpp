#include "game_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QSaveFile>
#include <QScreen>
#include <QShowEvent>
#include <QSignalBlocker>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <utility>

#include "flight/record.h"
#include "world_ranking_dialog.h"

namespace pirune::desktop {

namespace {

const QString kFlightFilter = QStringLiteral("ピルネノ翼の飛行記録 (*.pflight)");
const QString kFlightSuffix = QStringLiteral("pflight");

}  // namespace

GameWindow::GameWindow(MusicBackend& music, GamePlaces places, QLocalServer* laterStarts,
                       Clock clock, EndProgram endProgram)
    : platform_(music, *this, std::move(places), std::move(clock)),
      painter_(*this),
      session_(platform_, *this, painter_.fontMetrics()),
      client_(new ClientArea(session_, painter_, this)),
      timer_(this),
      endProgram_(std::move(endProgram)),
      world_(this) {
  timer_.setSingleShot(true);
  // A coarse timer may fire a few milliseconds early, which would put two paints in one frame.
  timer_.setTimerType(Qt::PreciseTimer);
  setWindowTitle(QString::fromStdU16String(kAppTitle));
  // Inside the window even where the desktop offers a global menu bar: the window is square
  // with its menu bar.
  menuBar()->setNativeMenuBar(false);
  setCentralWidget(client_);

  connect(client_, &ClientArea::pressed, this,
          [this](MouseButton button, HeldKeys keys, QPoint at) {
            call([&] { session_.press(button, keys, at.x(), at.y()); });
          });
  connect(client_, &ClientArea::released, this, [this](MouseButton button, QPoint at) {
    call([&] { session_.release(button, at.x(), at.y()); });
  });
  connect(client_, &ClientArea::escapePressed, this,
          [this] { call([this] { session_.escape(); }); });
  connect(&timer_, &QTimer::timeout, this, &GameWindow::wake);
  connect(client_, &ClientArea::frameWanted, this, &GameWindow::scheduleWake);
  connect(client_, &ClientArea::framePainted, this, &GameWindow::scheduleWake);
  connect(&systemQuit_.notifier(), &QSocketNotifier::activated, this, [this] {
    systemQuit_.takeRequests();
    quitOnSystemRequest();
  });
  if (laterStarts != nullptr) {
    connect(laterStarts, &QLocalServer::newConnection, this, &GameWindow::comeToFront);
  }
}

bool GameWindow::load() {
  // Read before the session asks whether there is a world ranking.
  worldServer_ = keptWorldServer(platform_.rankingFolder());
  return session_.start();
}

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
    tickWanted_ = QDeadlineTimer(
        std::clamp<std::int64_t>(*delayMs, 0, std::numeric_limits<int>::max()), Qt::PreciseTimer);
  } else {
    tickWanted_.reset();  // no timer can tick
  }
  scheduleWake();
}

void GameWindow::scheduleWake() {
  // A tick wanted within a frame of the last paint waits for the next frame: the session takes
  // every tick due by then, each at its own time on the game's clock, and one wake-up both
  // ticks and paints. What is to be painted waits for that frame too.
  const int frame = client_->msToNextFrame();
  std::optional<qint64> in;
  if (tickWanted_) {
    in = std::max<qint64>(tickWanted_->remainingTime(), frame);
  }
  if (client_->unpainted()) {
    in = frame;
  }
  if (in) {
    timer_.start(static_cast<int>(std::min<qint64>(*in, std::numeric_limits<int>::max())));
  } else {
    timer_.stop();
  }
}

void GameWindow::wake() {
  // A wake-up for a frame that was waiting may come before the tick is wanted.
  if (tickWanted_ && tickWanted_->hasExpired()) {
    tickWanted_.reset();
    call([this] { session_.tick(); });
  }
  if (client_->msToNextFrame() == 0) {
    client_->paintChanges();
  }
  scheduleWake();
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

void GameWindow::chooseFlightFile() {
  const QString path = QFileDialog::getOpenFileName(
      this, QStringLiteral("記録ファイルを開いて見る"), QString(), kFlightFilter);
  if (path.isEmpty()) {
    return;  // the player changed their mind
  }
  QFile file(path);
  QByteArray bytes;
  if (file.open(QIODevice::ReadOnly)) {
    // One byte past the largest record is enough to know it is too long; the session says so.
    bytes = file.read(static_cast<qint64>(flight::kMaxBytes) + 1);
  }
  if (file.error() != QFileDevice::NoError) {
    session_.tell(u"記録ファイル " + path.toStdU16String() + u" を読めません。\n" +
                  file.errorString().toStdU16String());
    return;
  }
  session_.watch(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

void GameWindow::saveFlightFile(const std::string& fileName, const std::string& bytes) {
  QString path = QFileDialog::getSaveFileName(
      this, QStringLiteral("前回の飛行をファイルに保存"),
      QDir::home().filePath(QString::fromStdString(fileName)), kFlightFilter);
  if (path.isEmpty()) {
    return;
  }
  if (QFileInfo(path).suffix().isEmpty()) {
    path += "." + kFlightSuffix;  // so that the open box's filter finds it again
  }
  // Written whole or not at all: a file the player already had stays as it was on failure.
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) ||
      file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
          static_cast<qint64>(bytes.size()) ||
      !file.commit()) {
    session_.tell(u"飛行の記録を " + path.toStdU16String() + u" に保存できません。\n" +
                  file.errorString().toStdU16String());
  }
}

void GameWindow::showWatching(const std::optional<std::u16string>& status) {
  setWindowTitle(QString::fromStdU16String(status ? kAppTitle + (u" — " + *status) : kAppTitle));
}

// ---- the world ranking ------------------------------------------------------------------

void GameWindow::chooseWorldServer() {
  bool accepted = false;
  const QString typed = QInputDialog::getText(
      this, QString::fromStdU16String(kAppTitle),
      QStringLiteral("世界ランキングのサーバーのアドレス（http:// か https:// で始まるもの）\n"
                     "空にすると、アドレスを忘れます。"),
      QLineEdit::Normal, worldServer_ ? worldServer_->toString() : QString(), &accepted);
  if (!accepted) {
    return;  // the player changed their mind
  }
  std::optional<QUrl> server;
  if (!typed.trimmed().isEmpty()) {
    server = worldServerAddress(typed);
    if (!server) {
      platform_.messageBox(kAppTitle, u"「" + typed.trimmed().toStdU16String() +
                                          u"」はサーバーのアドレスではありません。\n"
                                          u"http:// か https:// で始まり、ホスト名のあるアドレス"
                                          u"を入れてください。アドレスは前のままです。");
      return;
    }
  }
  if (const QString why = keepWorldServer(platform_.rankingFolder(), server); !why.isEmpty()) {
    platform_.messageBox(
        kAppTitle,
        u"サーバーのアドレスを保存できません。アドレスは前のままです。\n" + why.toStdU16String());
    return;
  }
  worldServer_ = server;
}

void GameWindow::fromServer(const std::function<void()>& procedure) {
  if (!unloaded_) {
    call(procedure);
  }
}

void GameWindow::requestFlightToken() {
  if (worldServer_) {
    world_.askToken(*worldServer_, [this](std::string token) {
      fromServer([&] { session_.flightTokenArrived(std::move(token)); });
    });
  }
}

bool GameWindow::confirm(const std::u16string& text) {
  QMessageBox box(QMessageBox::NoIcon, QString::fromStdU16String(kAppTitle),
                  QString::fromStdU16String(text), QMessageBox::Ok | QMessageBox::Cancel, this);
  return box.exec() == QMessageBox::Ok;
}

void GameWindow::sendFlight(const std::string& token, const std::string& utf8Name,
                            const std::string& record) {
  const auto answered = [this](const WorldReply& reply) {
    fromServer([&] { session_.flightSent(reply); });
  };
  if (!worldServer_) {
    // Forgotten since the flight's token came: the answer comes as late as a server's would.
    QTimer::singleShot(0, this, [answered] { answered(WorldReply{}); });
    return;
  }
  world_.send(*worldServer_, token, utf8Name, record, answered);
}

void GameWindow::showWorldRanking() {
  if (!worldServer_ || std::exchange(worldListing_, true)) {
    return;  // the list asked for already comes, or is open
  }
  world_.ranking(*worldServer_, [this](std::optional<std::vector<WorldFlight>> flights) {
    if (flights) {
      listWorldRanking(*flights);
    } else {
      fromServer([this] { session_.worldRankingUnreachable(); });
    }
    worldListing_ = false;
  });
}

void GameWindow::listWorldRanking(const std::vector<WorldFlight>& flights) {
  std::optional<QString> chosen;
  fromServer([&] {
    session_.waitFor([&] {
      WorldRankingDialog box(flights, this);
      box.exec();
      chosen = box.chosen();
    });
  });
  if (!chosen || !worldServer_ || unloaded_) {
    return;
  }
  world_.flight(*worldServer_, *chosen, [this](std::optional<QByteArray> record) {
    fromServer([&] {
      if (record) {
        session_.watch(
            std::string_view(record->constData(), static_cast<std::size_t>(record->size())));
      } else {
        session_.worldRankingUnreachable();
      }
    });
  });
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
