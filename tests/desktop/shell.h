#pragma once
// The game's real window over a folder of small test pictures, driven as the player drives it.

#include <QColor>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdint>
#include <string>
#include <vector>

#include "desktop_platform.h"
#include "game/form.h"
#include "game_window.h"

namespace pirune::desktop::testing {

// The title is four quarters, so that stretching shows; every story page is one colour.
inline const QColor kTitleTopLeft{200, 40, 40};
inline const QColor kTitleTopRight{40, 200, 40};
inline const QColor kTitleBottomLeft{40, 40, 200};
inline const QColor kTitleBottomRight{220, 220, 60};
inline const QColor kPage{230, 230, 230};

class SilentMusic : public MusicBackend {
 public:
  void open(const std::string& path) override { commands.push_back("open:" + path); }
  [[nodiscard]] std::int64_t lengthMs() const override { return 0; }
  void rewind() override { commands.emplace_back("prev"); }
  void play() override { commands.emplace_back("play"); }
  void stop() override { commands.emplace_back("stop"); }
  void close() override { commands.emplace_back("close"); }

  std::vector<std::string> commands;
};

// What a box showed before the closer closed it.
struct SeenBox {
  QString kind;  // "message", "input" or "" when none was open
  QString title;
  QString text;
  QStringList buttons;
};

// Closes the next modal box once it has been open for `afterMs`: a message by OK, an input box
// by OK with `answer`, or by Cancel when `answer` is null.
class BoxCloser {
 public:
  explicit BoxCloser(int afterMs, QString answer = QString());
  [[nodiscard]] const SeenBox& seen() const { return seen_; }

 private:
  void close(QWidget* box);

  QString answer_;
  SeenBox seen_;
  QTimer poll_;  // with the closer go its timers
};

class Shell {
 public:
  explicit Shell(bool withPictures = true);

  // Form_Load, then the window shown: the title screen of the first game.
  void start();
  [[nodiscard]] QImage frame();
  [[nodiscard]] QPoint pixelOf(double xUnits, double yUnits);
  void click(double xUnits = 50, double yUnits = 50, Qt::MouseButton button = Qt::LeftButton);
  // Through the title and the opening pages: the flight runs after this.
  void startFlight();
  [[nodiscard]] std::u16string scene() const { return form.sceneName.value_or(u""); }
  [[nodiscard]] std::string path(const char* file) const {
    return folder.path().toStdString() + "/" + file;
  }

  QTemporaryDir folder;
  SilentMusic music;
  DesktopPlatform platform;
  FOM form;
  GameWindow window;
  std::vector<int> exits;
};

// Colours match within a small tolerance, as a stretched picture may blend at its seams.
bool near(const QColor& a, const QColor& b, int tolerance = 6);

}  // namespace pirune::desktop::testing
