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

// Every picture of the story, the title too, is this one colour.
inline const QColor kTitle{200, 40, 40};

// Waits for the next modal box of the game, not one open already, notes what it shows and
// answers it: by default OK, or the name typed, or Cancel for a null name.
struct BoxAnswer {
  explicit BoxAnswer(const QString& typed = QString()) : BoxAnswer(answering(typed)) {}
  explicit BoxAnswer(std::function<void(QWidget*)> answer);
  static std::function<void(QWidget*)> answering(const QString& typed);
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
  std::vector<int> exits;  // the statuses the game would have ended the program with
  GameWindow window;

  Shell();
  void start();  // Form_Load, then shown: the title screen of the first game
  [[nodiscard]] FOM& form() { return window.form(); }  // made by start()
  [[nodiscard]] QWidget& client() const { return *window.centralWidget(); }
  [[nodiscard]] QPoint pixelOf(double xUnits, double yUnits) const;
  void click(double xUnits = 50, double yUnits = 50, Qt::MouseButton button = Qt::LeftButton);
  void startFlight();                 // through the title and the opening pages
  void choose(const MenuItem& item);  // through the menu bar's action of that caption
  [[nodiscard]] std::string path(const char* file) const;
  [[nodiscard]] QByteArray ranking() const;  // what scr.dat holds
};

}  // namespace pirune::desktop::testing
