#include "desktop_platform.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QSaveFile>
#include <QScreen>
#include <algorithm>
#include <chrono>
#include <utility>

#include "embedded_pictures.h"
#include "flight/record.h"
#include "qt_picture.h"

namespace pirune::desktop {

namespace {

// Only if no screen is known at all, as on a machine with no display attached.
constexpr int kFallbackScreenHeight = 768;

QString flightFileIn(const QString& folder, const std::string& slot) {
  return folder + "/" + QString::fromStdString(slot) + ".pflight";
}

}  // namespace

Clock steadyClock() {
  return [] {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
  };
}

QSize frameExtra(const QWidget& window) {
  // Before the window is mapped, and always without a window manager, there is no frame.
  if (!window.isVisible()) {
    return {0, 0};
  }
  return window.frameGeometry().size() - window.size();
}

DesktopPlatform::DesktopPlatform(MusicBackend& music, QWidget& window, GamePlaces places,
                                 Clock clock)
    : music_(music),
      window_(&window),
      places_(std::move(places)),
      flightFolder_(QDir::cleanPath(QString::fromStdString(places_.rankingFolder) + "/flights")),
      clock_(std::move(clock)) {}

int DesktopPlatform::screenHeight() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen == nullptr ? kFallbackScreenHeight : screen->geometry().height();
}

int DesktopPlatform::outerHeight() { return window_->height() + frameExtra(*window_).height(); }

void DesktopPlatform::setOuterHeight(int pixels) {
  window_->resize(window_->width(), std::max(1, pixels - frameExtra(*window_).height()));
}

void DesktopPlatform::setOuterWidth(int pixels) {
  window_->resize(std::max(1, pixels - frameExtra(*window_).width()), window_->height());
}

std::string DesktopPlatform::loadRanking() {
  ranking_ = RankingFile::open(rankingFileIn(places_.rankingFolder));
  return ranking_->records();
}

void DesktopPlatform::storeRanking(const std::string& records) {
  if (!ranking_) {
    ranking_ = RankingFile::open(rankingFileIn(places_.rankingFolder));
  }
  ranking_->save(records);
}

std::optional<std::string> DesktopPlatform::loadFlight(const std::string& slot) {
  QFile file(flightFileIn(flightFolder_, slot));
  if (!file.open(QIODevice::ReadOnly)) {
    return std::nullopt;  // none kept yet, or none that can be read: nothing to offer
  }
  // One byte past the largest record is enough for the session to refuse a longer file.
  const QByteArray bytes = file.read(static_cast<qint64>(flight::kMaxBytes) + 1);
  if (file.error() != QFileDevice::NoError) {
    return std::nullopt;
  }
  return bytes.toStdString();
}

void DesktopPlatform::storeFlight(const std::string& slot, const std::string& bytes) {
  // As safely as scr.dat, with the toolkit's own temporary file beside the record, brought to
  // the disk and renamed over it: a record is either the old one or the new one, never half.
  // One that cannot be kept is only said on the terminal; the game goes on without it.
  const QString path = flightFileIn(flightFolder_, slot);
  QSaveFile file(path);
  if (!QDir().mkpath(flightFolder_) || !file.open(QIODevice::WriteOnly) ||
      file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
          static_cast<qint64>(bytes.size()) ||
      !file.commit() || !syncFolder(flightFolder_)) {
    qWarning("ピルネノ翼: the flight record %s was not kept: %s", qUtf8Printable(path),
             qUtf8Printable(file.errorString()));
  }
}

PictureRef DesktopPlatform::loadPicture(const std::string& path) { return loadPictureFile(path); }

PictureRef DesktopPlatform::designPicture(DesignPicture picture) {
  if (picture == DesignPicture::WingFrame1) {
    return pictureFromBytes(embedded::wingFrame1Bmp(), "wing frame 1");
  }
  return pictureFromBytes(embedded::wingFrame2Bmp(), "wing frame 2");
}

void DesktopPlatform::messageBox(const std::u16string& title, const std::u16string& text) {
  QMessageBox box(QMessageBox::NoIcon, QString::fromStdU16String(title),
                  QString::fromStdU16String(text), QMessageBox::Ok, window_);
  box.exec();
}

std::optional<std::u16string> DesktopPlatform::inputBox(const std::u16string& title,
                                                        const std::u16string& prompt) {
  bool accepted = false;
  const QString answer = QInputDialog::getText(window_, QString::fromStdU16String(title),
                                               QString::fromStdU16String(prompt), QLineEdit::Normal,
                                               QString(), &accepted);
  if (!accepted) {
    return std::nullopt;
  }
  return answer.toStdU16String();
}

}  // namespace pirune::desktop
