#pragma once
// The game's real window over a folder of small test pictures, with a clock the test moves,
// driven as the player drives it.

#include <QImage>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

#include "game_window.h"
#include "support/recording_music.h"

namespace pirune::desktop::testing {

// The title is four quarters, so that stretching shows; every story page is light grey.
inline const QColor kQuarters[] = {{200, 40, 40}, {40, 200, 40}, {40, 40, 200}, {220, 220, 60}};

// Waits for the next modal box of the game, not one open already, notes what it shows and
// answers it: by default OK, or the name typed, or Cancel for a null name.
struct BoxAnswer {
  explicit BoxAnswer(QString typed = QString());
  explicit BoxAnswer(std::function<void(QWidget*)> answer);
  QString title, text;
  QStringList buttons;

 private:
  std::function<void(QWidget*)> answer_;
  QWidget* alreadyOpen_;
  QTimer poll_;
};

struct Shell {
  QTemporaryDir folder;
  pirune::testing::RecordingMusic music;
  std::int64_t now = 0;
  GameWindow window;
  FOM& form = window.form();
  std::vector<int> exits;

  Shell();
  void start();  // Form_Load, then shown: the title screen of the first game
  [[nodiscard]] QPoint pixelOf(double xUnits, double yUnits);
  void click(double xUnits = 50, double yUnits = 50, Qt::MouseButton button = Qt::LeftButton);
  void choose(const MenuItem& item);  // through the menu bar's action
  [[nodiscard]] std::string path(const char* file) const;
};

}  // namespace pirune::desktop::testing
