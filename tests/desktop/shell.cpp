#include "shell.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QInputDialog>
#include <QMessageBox>
#include <QPainter>
#include <QTest>
#include <QTimer>
#include <cmath>

#include "qt_picture.h"

namespace pirune::desktop::testing {

namespace {

void writeFilled(const QString& file, const QColor& color) {
  QImage image(40, 40, QImage::Format_RGB32);
  image.fill(color);
  ASSERT_TRUE(image.save(file, "BMP"));
}

}  // namespace

void writeTestPictures(const QString& folder) {
  QImage title(40, 40, QImage::Format_RGB32);
  QPainter painter(&title);
  painter.fillRect(0, 0, 20, 20, kTitleTopLeft);
  painter.fillRect(20, 0, 20, 20, kTitleTopRight);
  painter.fillRect(0, 20, 20, 20, kTitleBottomLeft);
  painter.fillRect(20, 20, 20, 20, kTitleBottomRight);
  painter.end();
  ASSERT_TRUE(title.save(folder + "/stt.bmp", "BMP"));
  writeFilled(folder + "/open0.bmp", kOpen0);
  writeFilled(folder + "/open1.bmp", kOpen1);
  writeFilled(folder + "/end0.bmp", kEnd);
  writeFilled(folder + "/end1.bmp", kEnd);
}

bool near(const QColor& a, const QColor& b, int tolerance) {
  return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
         std::abs(a.blue() - b.blue()) <= tolerance;
}

BoxCloser::BoxCloser(int afterMs, QString answer) : afterMs_(afterMs), answer_(std::move(answer)) {
  QTimer::singleShot(10, [this] { poll(); });
}

void BoxCloser::poll() {
  QWidget* modal = QApplication::activeModalWidget();
  if (modal == nullptr) {
    QTimer::singleShot(10, [this] { poll(); });
    return;
  }
  QTimer::singleShot(afterMs_, [this, modal = QPointer<QWidget>(modal)] {
    if (modal == nullptr || done_) {
      return;
    }
    done_ = true;
    seen_.title = modal->windowTitle();
    for (auto* button : modal->findChildren<QAbstractButton*>()) {
      if (button->isVisible()) {
        seen_.buttons << button->text();
      }
    }
    if (auto* box = qobject_cast<QMessageBox*>(modal.data())) {
      seen_.kind = "message";
      seen_.text = box->text();
      box->button(QMessageBox::Ok)->click();
    } else if (auto* input = qobject_cast<QInputDialog*>(modal.data())) {
      seen_.kind = "input";
      seen_.text = input->labelText();
      if (answer_.isNull()) {
        input->reject();
      } else {
        input->setTextValue(answer_);
        input->accept();
      }
    }
  });
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

QColor Shell::pixelAt(const QImage& frame, double xUnits, double yUnits) {
  return frame.pixelColor(pixelOf(xUnits, yUnits));
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

std::string Shell::pictureShown() const {
  const auto& picture = form.SEimg.Picture();
  return picture ? picture->source() : std::string();
}

std::string Shell::path(const char* file) const { return folder.path().toStdString() + "/" + file; }

}  // namespace pirune::desktop::testing
