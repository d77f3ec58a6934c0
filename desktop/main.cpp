// ピルネノ翼: the window, the game behind it, and the music.

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPixmap>
#include <QTranslator>
#include <exception>

#include "desktop_platform.h"
#include "embedded_pictures.h"
#include "error_boundary.h"
#include "game/form.h"
#include "game_window.h"
#include "wave_player.h"

namespace {

QIcon windowIcon() {
  const auto bytes = pirune::embedded::iconBmp();
  QImage icon;
  icon.loadFromData(bytes.data(), static_cast<int>(bytes.size()), "BMP");
  return QIcon(QPixmap::fromImage(icon));
}

int play() {
  pirune::WavePlayer music;
  pirune::desktop::DesktopPlatform platform(music);
  pirune::FOM form(platform);
  pirune::desktop::GameWindow window(form, platform);
  if (!window.load()) {
    return pirune::desktop::kFailureStatus;
  }
  window.showCentred();
  if (window.boundary().failed()) {
    return pirune::desktop::kFailureStatus;
  }
  return QApplication::exec();
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  const QString title = QString::fromStdU16String(pirune::kAppTitle);
  QApplication::setApplicationName(title);
  QApplication::setApplicationVersion(QStringLiteral("1.0.0.0"));
  QApplication::setWindowIcon(windowIcon());

  // The boxes speak Japanese like the game: "キャンセル", not "Cancel".
  QTranslator qtJapanese;
  if (qtJapanese.load(QStringLiteral("qtbase_ja"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(&qtJapanese);
  }

  // Only the making of the window itself can fail out here; everything after it goes through
  // the window's error boundary.
  try {
    return play();
  } catch (const std::exception& error) {
    QMessageBox::critical(nullptr, title, QString::fromUtf8(error.what()));
    return pirune::desktop::kFailureStatus;
  }
}
