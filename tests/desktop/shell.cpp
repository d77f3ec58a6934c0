#include "shell.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QInputDialog>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTest>

namespace pirune::desktop::testing {

std::function<void(QWidget*)> BoxAnswer::answering(const QString& typed) {
  return [typed](QWidget* box) {
    if (auto* input = qobject_cast<QInputDialog*>(box); input == nullptr) {
      qobject_cast<QMessageBox*>(box)->button(QMessageBox::Ok)->click();
    } else if (typed.isNull()) {
      input->reject();
    } else {
      input->setTextValue(typed);
      input->accept();
    }
  };
}

BoxAnswer::BoxAnswer(std::function<void(QWidget*)> answer)
    : answer_(std::move(answer)), alreadyOpen_(QApplication::activeModalWidget()) {
  poll_.callOnTimeout([this] {
    QWidget* box = QApplication::activeModalWidget();
    if (box == nullptr || box == alreadyOpen_ || !box->isVisible()) {
      return;
    }
    poll_.stop();
    title = box->windowTitle();
    auto* input = qobject_cast<QInputDialog*>(box);
    text = input != nullptr ? input->labelText() : qobject_cast<QMessageBox*>(box)->text();
    for (auto* button : box->findChildren<QAbstractButton*>()) {
      buttons << button->text();
    }
    answer_(box);
  });
  poll_.start(10);
}

Shell::Shell()
    : window(
          music, {folder.path().toStdString(), folder.path().toStdString()}, nullptr,
          [this] { return now; }, [this](int status) { exits.push_back(status); }) {
  music.length = 0;
  QImage picture(40, 40, QImage::Format_RGB32);
  picture.fill(kTitle);
  for (const char* name : {"stt", "open0", "open1", "end0", "end1"}) {
    picture.save(folder.filePath(QString(name) + ".bmp"), "BMP");
  }
}

void Shell::start() {
  ASSERT_TRUE(window.load());
  window.showCentred();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
}

QPoint Shell::pixelOf(double xUnits, double yUnits) const {
  return {static_cast<int>(xUnits * client().width() / 100),
          static_cast<int>(yUnits * client().height() / 100)};
}

void Shell::click(double xUnits, double yUnits, Qt::MouseButton button) {
  QTest::mouseClick(&client(), button, {}, pixelOf(xUnits, yUnits));
}

void Shell::startFlight() {
  for (int page = 0; page < 3; ++page) {
    click();
  }
}

QByteArray Shell::ranking() const {
  QFile scr(folder.filePath("scr.dat"));
  return scr.open(QIODevice::ReadOnly) ? scr.readAll() : QByteArray();
}

void Shell::choose(const MenuItem& item) {
  const QString caption = QString::fromStdU16String(item.Caption());
  for (QAction* top : window.menuBar()->actions()) {
    QList<QAction*> actions{top};
    if (top->menu() != nullptr) {
      actions += top->menu()->actions();
    }
    for (QAction* action : actions) {
      if (action->text() == caption) {
        action->trigger();
        return;
      }
    }
  }
  ADD_FAILURE() << "no menu action " << caption.toStdString();
}

std::string Shell::path(const char* file) const { return folder.filePath(file).toStdString(); }

}  // namespace pirune::desktop::testing
