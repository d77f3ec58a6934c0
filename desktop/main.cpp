// ピルネノ翼: the window, the game behind it, and the music.

#include <QApplication>
#include <QMessageBox>
#include <exception>

#include "application_setup.h"
#include "desktop_platform.h"
#include "error_boundary.h"
#include "game/form.h"
#include "game_window.h"
#include "wave_player.h"

namespace {

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
  pirune::desktop::setUpApplication(app);
  const QString title = QString::fromStdU16String(pirune::kAppTitle);

  // Only the making of the window itself can fail out here; everything after it goes through
  // the window's error boundary.
  try {
    return play();
  } catch (const std::exception& error) {
    QMessageBox::critical(nullptr, title, QString::fromUtf8(error.what()));
    return pirune::desktop::kFailureStatus;
  }
}
