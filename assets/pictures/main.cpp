// pirune_picture_generator: draws every picture of the game while it is built.
//   pirune_picture_generator story DIR NAME...   the title and story pictures, as DIR/NAME.bmp
//   pirune_picture_generator icons DIR SIZE...   the icon as PNG at the desktop's sizes
//   pirune_picture_generator embedded FILE       C++ source with the wing frames and the 16px icon

#include <QByteArray>
#include <QDir>
#include <QGuiApplication>
#include <QStringList>
#include <cstdio>
#include <exception>
#include <functional>
#include <map>
#include <stdexcept>

#include "bmp_writer.h"
#include "embedded_source.h"
#include "pictures.h"

namespace {

using pirune::pictures::bmpFile;
using pirune::pictures::writeFile;

// Each story picture by the name of its file, without the ending.
void writeStoryPictures(const QString& folder, const QStringList& names) {
  const std::map<QString, std::function<QImage()>> pictures = {
      {"stt", pirune::pictures::titlePicture},    {"open0", pirune::pictures::openingNight},
      {"open1", pirune::pictures::openingFlight}, {"end0", pirune::pictures::endingDesert},
      {"end1", pirune::pictures::endingFarStar},
  };
  QDir().mkpath(folder);
  for (const QString& name : names) {
    const auto picture = pictures.find(name);
    if (picture == pictures.end()) {
      throw std::runtime_error("no story picture is called " + name.toStdString());
    }
    writeFile(QDir(folder).filePath(name + ".bmp"), bmpFile(picture->second()));
  }
}

void writeIcons(const QString& folder, const QStringList& sizes) {
  for (const QString& text : sizes) {
    bool isNumber = false;
    const int size = text.toInt(&isNumber);
    if (!isNumber || size <= 0) {
      throw std::runtime_error("not an icon size: " + text.toStdString());
    }
    const QString dir = QDir(folder).filePath(QStringLiteral("hicolor/%1x%1/apps").arg(size));
    QDir().mkpath(dir);
    const QString path = QDir(dir).filePath(QStringLiteral("pirune.png"));
    if (!pirune::pictures::icon(size).save(path, "PNG")) {
      throw std::runtime_error("cannot write " + path.toStdString());
    }
  }
}

void writeEmbedded(const QString& file) {
  using pirune::pictures::WingPose;
  writeFile(file, pirune::pictures::embeddedSource({
                      {"wingFrame1Bmp", bmpFile(pirune::pictures::wingFrame(WingPose::Up))},
                      {"wingFrame2Bmp", bmpFile(pirune::pictures::wingFrame(WingPose::Down))},
                      {"iconBmp", bmpFile(pirune::pictures::windowIcon())},
                  }));
}

}  // namespace

int main(int argc, char* argv[]) {
  // Pictures only: no screen is needed, wherever the build runs.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  const QGuiApplication app(argc, argv);
  const QStringList args = QGuiApplication::arguments();
  try {
    if (args.size() < 3) {
      std::fputs("usage: pirune_picture_generator story|icons|embedded PATH [NAME|SIZE...]\n",
                 stderr);
      return 2;
    }
    const QString& what = args[1];
    if (what == "story") {
      writeStoryPictures(args[2], args.mid(3));
    } else if (what == "icons") {
      writeIcons(args[2], args.mid(3));
    } else if (what == "embedded") {
      writeEmbedded(args[2]);
    } else {
      std::fprintf(stderr, "pirune_picture_generator: unknown picture set %s\n", qPrintable(what));
      return 2;
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "pirune_picture_generator: %s\n", error.what());
    return 1;
  }
  return 0;
}
