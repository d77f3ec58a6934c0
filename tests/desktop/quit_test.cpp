// The system's requests to quit close the game as its window's close does, with the game idle
// or a box of it open: the music closed, the ranking saved, the program's status 0.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>
#include <csignal>

#include "shell.h"

namespace pirune::desktop::testing {
namespace {

TEST(SystemQuit, EachSignalClosesTheGameAndKeepsTheEntryBoxOpenOrNot) {
  enum class While { Idle, NameBox, HelpBox };
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
    for (const While moment : {While::Idle, While::NameBox, While::HelpBox}) {
      SCOPED_TRACE(signal * 10 + static_cast<int>(moment));
      Shell shell;
      shell.start();
      shell.choose(*shell.form().mnu1[1]);
      shell.startFlight();
      shell.form().distance = 40;
      QTimer::singleShot(0, &shell.window, [&] {
        if (moment == While::Idle) {
          const BoxAnswer name("PIRUNE");
          shell.choose(shell.form().mnu2);
          std::raise(signal);
          return;
        }
        const BoxAnswer inTheBox([signal](QWidget*) { std::raise(signal); });
        shell.choose(moment == While::NameBox ? shell.form().mnu2 : *shell.form().playmnu1[0]);
      });
      EXPECT_EQ(QCoreApplication::exec(), 0);
      EXPECT_EQ(shell.music.commands.back(), "close");
      // Quit inside the name box: the box counts as cancelled, and the score stays.
      EXPECT_EQ(shell.ranking().left(12),
                moment == While::HelpBox ? QByteArray(10, ' ') + QByteArray(2, '\0')
                : moment == While::Idle  ? QByteArray("PIRUNE    (\0", 12)
                                         : QByteArray("          (\0", 12));
    }
  }
}

}  // namespace
}  // namespace pirune::desktop::testing
