#include "application_setup.h"

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QLibraryInfo>
#include <QPixmap>
#include <QTranslator>

#include "build_config.h"
#include "embedded_pictures.h"
#include "game/form.h"

namespace pirune::desktop {

namespace {

QIcon windowIcon() {
  const auto bytes = embedded::iconBmp();
  QImage icon;
  icon.loadFromData(bytes.data(), static_cast<int>(bytes.size()), "BMP");
  return QIcon(QPixmap::fromImage(icon));
}

}  // namespace

bool setUpApplication(QApplication& app) {
  QApplication::setApplicationName(QString::fromStdU16String(kAppTitle));
  QApplication::setApplicationVersion(QStringLiteral(PIRUNE_VERSION));
  QGuiApplication::setDesktopFileName(QStringLiteral(PIRUNE_APP_ID));
  QApplication::setWindowIcon(windowIcon());

  // Owned by the application, so it lives exactly as long as the boxes that use it.
  auto* japanese = new QTranslator(&app);
  if (!japanese->load(QStringLiteral("qtbase_ja"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete japanese;
    return false;
  }
  QApplication::installTranslator(japanese);
  return true;
}

}  // namespace pirune::desktop
