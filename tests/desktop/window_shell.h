#pragma once
// The real window over a folder of small test pictures, with a clock the test moves, and the
// game's boxes answered as a player would: what the desktop's tests drive.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
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
#include <functional>
#include <vector>

#include "game_window.h"
#include "support/recording_music.h"

namespace pirune::desktop::testing {

// Waits for the next modal box of the game, not one open already, notes what it shows (its
// title, its text, then its buttons) and answers it: with `answer`, or else with the name or
// the file's path typed (if it asks for one) and OK.
struct BoxAnswer {
  explicit BoxAnswer(const QString& typed = {}, const std::function<void(QDialog*)>& answer = {}) {
    poll_.callOnTimeout([=, this, alreadyOpen = QApplication::activeModalWidget()] {
      auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (box == nullptr || box == alreadyOpen || !box->isVisible()) {
        return;
      }
      poll_.stop();
      auto* input = qobject_cast<QInputDialog*>(box);
      auto* message = qobject_cast<QMessageBox*>(box);
      seen << box->windowTitle()
           << (input != nullptr     ? input->labelText()
               : message != nullptr ? message->text()
                                    : "");
      for (auto* button : box->findChildren<QAbstractButton*>()) {
        seen << button->text();
      }
      if (input != nullptr) {
        input->setTextValue(typed);  // the box opens empty: for a name not typed, no change
      }
      if (auto* file = qobject_cast<QFileDialog*>(box); file != nullptr) {
        // Typed, as the player would: a path picked in the list waits for the folder to load.
        file->findChild<QLineEdit*>("fileNameEdit")->setText(typed);
      }
      answer ? answer(box) : box->accept();
    });
    poll_.start(10);
  }

  QStringList seen;

 private:
  QTimer poll_;
};

constexpr QColor kStoryRed(200, 40, 40);

struct Shell {
  QTemporaryDir folder;
  pirune::testing::RecordingMusic music;
  std::int64_t now = 0;
  std::vector<int> exits;    // the statuses the game would have ended the program with
  QTimer* driver = nullptr;  // the window's timer that wakes the game
  GameWindow window{music,
                    {folder.path().toStdString(), folder.path().toStdString()},
                    nullptr,
                    [this] { return now; },
                    [this](int status) { exits.push_back(status); }};

  // Form_Load, then shown: the title screen of the first game. `beforeStart` may put files of
  // its own into the game's folder first.
  explicit Shell(const std::function<void(const QDir&)>& beforeStart = {}) {
    music.length = 0;
    QImage picture(40, 40, QImage::Format_RGB32);
    picture.fill(kStoryRed);  // every picture of the story, the title too
    for (const char* name : {"stt", "open0", "open1", "end0", "end1"}) {
      picture.save(folder.filePath(QString(name) + ".bmp"), "BMP");
    }
    if (beforeStart) {
      beforeStart(QDir(folder.path()));
    }
    driver = window.findChild<QTimer*>(QString(), Qt::FindDirectChildrenOnly);
    EXPECT_TRUE(window.load());
    window.showCentred();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
  }

  [[nodiscard]] FOM& form() { return window.form(); }
  [[nodiscard]] QWidget& client() const { return *window.centralWidget(); }
  [[nodiscard]] QPoint pixelOf(double xUnits, double yUnits) const {
    return {static_cast<int>(xUnits * client().width() / 100),
            static_cast<int>(yUnits * client().height() / 100)};
  }
  void click(double xUnits = 50, double yUnits = 50, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(&client(), button, {}, pixelOf(xUnits, yUnits));
  }
  // Through the title and the opening pages.
  void startFlight() {
    for (int page = 0; page < 3; ++page) {
      click();
    }
  }
  // The game's clock moves on by `ms` as a real one would: in steps short of a stall, each
  // taken up by the window's own timer before the next.
  void pass(std::int64_t ms) {
    constexpr std::int64_t kStep = 90;
    for (std::int64_t passed = 0; passed < ms; passed += kStep) {
      now += std::min(kStep, ms - passed);
      if (driver->isActive()) {
        QSignalSpy woke(driver, &QTimer::timeout);
        ASSERT_TRUE(woke.wait(2000));
      }
    }
  }
  // The clock moves on until `done`, for at most a minute of the game's time.
  bool passUntil(const std::function<bool()>& done) {
    for (int step = 0; step < 600 && !done(); ++step) {
      pass(100);
    }
    return done();
  }
  [[nodiscard]] QColor centreColour() const {
    return client().grab().toImage().pixelColor(client().width() / 2, client().height() / 2);
  }
  // Through the menu bar's action of that caption.
  void choose(const MenuItem& item) { choose(QString::fromStdU16String(item.Caption())); }
  void choose(const QString& caption) {
    const auto actions = window.menuBar()->findChildren<QAction*>();
    const auto action = std::ranges::find(actions, caption, &QAction::text);
    ASSERT_NE(action, actions.end()) << "no menu action " << caption.toStdString();
    (*action)->trigger();
  }
};

// A bar or menu as the player sees it: items in braces, marks as [x] or [ ], locked ones "-".
inline QString describe(const QList<QAction*>& actions) {
  QStringList parts;
  for (const QAction* action : actions) {
    parts << action->text() +
                 (action->isCheckable() ? (action->isChecked() ? "[x]" : "[ ]") : QString()) +
                 (action->isEnabled() ? "" : "-") +
                 (action->menu() != nullptr ? "{" + describe(action->menu()->actions()) + "}" : "");
  }
  return parts.join(' ');
}

}  // namespace pirune::desktop::testing
