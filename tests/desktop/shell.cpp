#include "shell.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPainter>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <cmath>

namespace pirune::desktop::testing {

namespace {

void writeTestPictures(const QString& folder) {
  QImage picture(40, 40, QImage::Format_RGB32);
  QPainter painter(&picture);
  painter.fillRect(0, 0, 20, 20, kTitleTopLeft);
  painter.fillRect(20, 0, 20, 20, kTitleTopRight);
  painter.fillRect(0, 20, 20, 20, kTitleBottomLeft);
  painter.fillRect(20, 20, 20, 20, kTitleBottomRight);
  painter.end();
  ASSERT_TRUE(picture.save(folder + "/stt.bmp", "BMP"));
  picture.fill(kPage);
  for (const char* page : {"open0", "open1", "end0", "end1"}) {
    ASSERT_TRUE(picture.save(folder + "/" + page + ".bmp", "BMP"));
  }
}

}  // namespace

bool near(const QColor& a, const QColor& b, int tolerance) {
  return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
         std::abs(a.blue() - b.blue()) <= tolerance;
}

BoxCloser::BoxCloser(int afterMs, QString answer) : answer_(std::move(answer)) {
  poll_.callOnTimeout([this, afterMs] {
    QWidget* box = QApplication::activeModalWidget();
    if (box == nullptr) {
      return;
    }
    poll_.stop();
    QTimer::singleShot(afterMs, &poll_, [this, box = QPointer<QWidget>(box)] {
      if (box != nullptr) {
        close(box);
      }
    });
  });
  poll_.start(10);
}

void BoxCloser::close(QWidget* box) {
  seen_.title = box->windowTitle();
  for (auto* button : box->findChildren<QAbstractButton*>()) {
    if (button->isVisible()) {
      seen_.buttons << button->text();
    }
  }
  if (auto* message = qobject_cast<QMessageBox*>(box)) {
    seen_.kind = "message";
    seen_.text = message->text();
    message->button(QMessageBox::Ok)->click();
  } else if (auto* input = qobject_cast<QInputDialog*>(box)) {
    seen_.kind = "input";
    seen_.text = input->labelText();
    if (answer_.isNull()) {
      input->reject();
    } else {
      input->setTextValue(answer_);
      input->accept();
    }
  }
}

Shell::Shell(bool withPictures)
    : platform(music, folder.path().toStdString()), form(platform), window(form, platform) {
  if (withPictures) {
    writeTestPictures(folder.path());
  }
  window.boundary().endProgram = [this](int status) { exits.push_back(status); };
}

void Shell::start() {
  ASSERT_TRUE(window.load());
  window.showCentred();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
}

QImage Shell::frame() {
  return window.clientArea().grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QPoint Shell::pixelOf(double xUnits, double yUnits) {
  const ClientArea& client = window.clientArea();
  return {static_cast<int>(xUnits * client.width() / 100.0),
          static_cast<int>(yUnits * client.height() / 100.0)};
}

void Shell::click(double xUnits, double yUnits, Qt::MouseButton button) {
  QTest::mouseClick(&window.clientArea(), button, {}, pixelOf(xUnits, yUnits));
}

void Shell::startFlight() {
  click();
  click();
  click();
  ASSERT_EQ(scene(), u"");
}

}  // namespace pirune::desktop::testing
