#include "desktop_platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QScreen>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <utility>

#include "embedded_pictures.h"
#include "qt_picture.h"

namespace pirune::desktop {

namespace {

// Only if no screen is known at all, as on a machine with no display attached.
constexpr int kFallbackScreenHeight = 768;

}  // namespace

QString boxText(const std::u16string& text) {
  QString result = QString::fromStdU16String(text);
  result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return result;
}

DesktopPlatform::DesktopPlatform(MusicBackend& music, std::optional<std::string> folder)
    : music_(music), folder_(std::move(folder)) {
  clock_.start();
}

std::string DesktopPlatform::programFolder() {
  if (folder_) {
    return *folder_;
  }
  return QDir::cleanPath(QCoreApplication::applicationDirPath()).toStdString();
}

int DesktopPlatform::screenHeight() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen == nullptr ? kFallbackScreenHeight : screen->geometry().height();
}

QSize DesktopPlatform::frameExtra() const {
  // Before the window is mapped, and always without a window manager, there is no frame.
  if (window_ == nullptr || !window_->isVisible()) {
    return {0, 0};
  }
  return window_->frameGeometry().size() - window_->size();
}

int DesktopPlatform::outerHeight() {
  return window_ == nullptr ? 0 : window_->height() + frameExtra().height();
}

void DesktopPlatform::setOuterHeight(int pixels) {
  outerHeight_ = pixels;
  if (window_ != nullptr) {
    window_->resize(window_->width(), std::max(1, pixels - frameExtra().height()));
  }
}

void DesktopPlatform::setOuterWidth(int pixels) {
  outerWidth_ = pixels;
  if (window_ != nullptr) {
    window_->resize(std::max(1, pixels - frameExtra().width()), window_->height());
  }
}

void DesktopPlatform::fitOuterSize() {
  if (window_ == nullptr) {
    return;
  }
  const QSize frame = frameExtra();
  const int width = outerWidth_ ? *outerWidth_ - frame.width() : window_->width();
  const int height = outerHeight_ ? *outerHeight_ - frame.height() : window_->height();
  window_->resize(std::max(1, width), std::max(1, height));
}

void DesktopPlatform::seedRandomFromClock() {
  const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
  generator_.seed(static_cast<std::uint64_t>(ticks));
}

double DesktopPlatform::rnd() {
  const double r = uniform_(generator_);
  // Some library versions can round up to 1.0, which would pick one colour too many.
  return r < 1.0 ? r : std::nextafter(1.0, 0.0);
}

PictureRef DesktopPlatform::loadPicture(const std::string& path) { return loadPictureFile(path); }

PictureRef DesktopPlatform::designPicture(DesignPicture picture) {
  if (picture == DesignPicture::WingFrame1) {
    return pictureFromBytes(embedded::wingFrame1Bmp(), "wing frame 1");
  }
  return pictureFromBytes(embedded::wingFrame2Bmp(), "wing frame 2");
}

void DesktopPlatform::messageBox(const std::u16string& text, const std::u16string& title) {
  if (beforeBox) {
    beforeBox();
  }
  QMessageBox box(QMessageBox::NoIcon, QString::fromStdU16String(title), boxText(text),
                  QMessageBox::Ok, window_);
  box.exec();
}

std::optional<std::u16string> DesktopPlatform::inputBox(const std::u16string& prompt,
                                                        const std::u16string& title) {
  if (beforeBox) {
    beforeBox();
  }
  bool accepted = false;
  const QString answer =
      QInputDialog::getText(window_, QString::fromStdU16String(title), boxText(prompt),
                            QLineEdit::Normal, QString(), &accepted);
  if (!accepted) {
    return std::nullopt;
  }
  return answer.toStdU16String();
}

}  // namespace pirune::desktop
