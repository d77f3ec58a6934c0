// The game's boxes through the real window: the ranking's name box and message, and every
// command of the menu bar.

#include <gtest/gtest.h>

#include <QMenu>
#include <QMenuBar>

#include "shell.h"

namespace pirune::desktop::testing {
namespace {

QAction* barAction(Shell& shell, const QString& text) {
  for (QAction* action : shell.window.menuBar()->actions()) {
    if (action->text() == text) {
      return action;
    }
    if (action->menu() != nullptr) {
      for (QAction* item : action->menu()->actions()) {
        if (item->text() == text) {
          return item;
        }
      }
    }
  }
  return nullptr;
}

TEST(Dialogs, AnEndlessFlightPastThirtyIsNamedAndShownInTheRanking) {
  Shell shell;
  shell.start();
  barAction(shell, "無限モード")->trigger();
  shell.startFlight();
  shell.form.distance = 40;
  {
    const BoxCloser closer(100, "ICARUS-PIRUNE");  // twelve characters: ten are kept
    barAction(shell, "初期化スタート")->trigger();
    EXPECT_EQ(closer.seen().kind, "input");
    EXPECT_EQ(closer.seen().title, "1位");
    EXPECT_EQ(closer.seen().text,
              "1位を取りました。\nなんて長い距離でしょう、\n名前を入れてね！（半角10文字）");
    EXPECT_TRUE(closer.seen().buttons.contains("OK"));
    EXPECT_TRUE(closer.seen().buttons.contains("キャンセル"));
  }
  EXPECT_EQ(shell.scene(), u"open");
  {
    const BoxCloser closer(50);
    barAction(shell, "ランキング")->trigger();
    EXPECT_EQ(closer.seen().kind, "message");
    EXPECT_EQ(closer.seen().title, "ピルネノ翼");
    EXPECT_EQ(closer.seen().text,
              "\n0・・・ICARUS-PIR(40)\n1・・・          (0)\n2・・・          (0)\n"
              "3・・・          (0)\n4・・・          (0)");
  }
  // Cancelled: the flight keeps its place with a blank name.
  shell.startFlight();
  shell.form.distance = 35;
  {
    const BoxCloser closer(50);
    barAction(shell, "初期化スタート")->trigger();
    EXPECT_EQ(closer.seen().title, "2位");
  }
  EXPECT_EQ(shell.form.rankTable[1].name, u"          ");
  EXPECT_EQ(shell.form.rankTable[1].score, 35);
}

TEST(Dialogs, HelpVersionAndMusicFromTheMenuBar) {
  Shell shell;
  shell.start();
  {
    const BoxCloser closer(50);
    barAction(shell, "遊び方")->trigger();
    EXPECT_EQ(closer.seen().title, "ピルネノ翼");
    EXPECT_EQ(closer.seen().text.count('\n'), 6);
    EXPECT_TRUE(closer.seen().text.startsWith("マウスクリックでピルネが羽ばたきます。\n"));
    EXPECT_EQ(closer.seen().buttons, QStringList({"OK"}));
  }
  {
    const BoxCloser closer(50);
    barAction(shell, "バージョン")->trigger();
    EXPECT_TRUE(closer.seen().text.startsWith("ピルネノ翼ver1.00\nby "));
  }
  shell.music.commands.clear();
  QAction* music = barAction(shell, "ＢＧＭ");
  music->trigger();
  music->trigger();
  EXPECT_EQ(shell.music.commands, (std::vector<std::string>{"stop", "prev", "play"}));
  EXPECT_TRUE(music->isChecked());
}

}  // namespace
}  // namespace pirune::desktop::testing
