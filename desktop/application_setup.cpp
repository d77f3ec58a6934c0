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

bool setUpApplication(QApplication& app) {
  QApplication::setApplicationName(QString::fromStdU16String(kAppTitle));
  QApplication::setApplicationVersion(QStringLiteral(PIRUNE_VERSION));
  QGuiApplication::setDesktopFileName(QStringLiteral(PIRUNE_APP_ID));
  const auto icon = embedded::iconBmp();
  QApplication::setWindowIcon(
      QPixmap::fromImage(QImage::fromData(icon.data(), static_cast<int>(icon.size()), "BMP")));

  // Owned by the application, so it lives exactly as long as the boxes that use it.
  auto* japanese = new QTranslator(&app);
  return japanese->load(QStringLiteral("qtbase_ja"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
         QApplication::installTranslator(japanese);
}

}  // namespace pirune::desktop
