// The game's boxes through the real window, and the error box of a run-time error.

#include <gtest/gtest.h>

#include <QFile>

#include "shell.h"

namespace pirune::desktop::testing {
namespace {

TEST(Boxes, TheNameBoxTheRankingAndTheHelpSpeakJapaneseUnderTheirTitles) {
  Shell shell;
  shell.start();
  shell.choose(*shell.form().mnu1[1]);
  shell.startFlight();
  shell.form().distance = 40;
  const struct {
    const MenuItem& item;
    QString typed;
    QString title;
    QString text;
  } boxes[] = {
      {shell.form().mnu2, "ICARUS-PIRUNE", "1位",
       "1位を取りました。\nなんて長い距離でしょう、\n名前を入れてね！（半角10文字）"},
      {shell.form().mnu3, "", "ピルネノ翼",
       "\n0・・・ICARUS-PIR(40)\n1・・・          (0)\n2・・・          (0)\n"
       "3・・・          (0)\n4・・・          (0)"},
      {*shell.form().playmnu1[1], "", "ピルネノ翼", "ピルネノ翼ver1.00\nby the ピルネノ翼 project"},
  };
  for (const auto& b : boxes) {
    const BoxAnswer answer(b.typed);
    shell.choose(b.item);
    EXPECT_EQ(answer.title, b.title);
    EXPECT_EQ(answer.text, b.text);
    EXPECT_EQ(answer.buttons,
              b.typed.isEmpty() ? QStringList{"OK"} : QStringList({"OK", "キャンセル"}));
  }
}

TEST(Boxes, ARunTimeErrorIsShownTheRankingKeptAndTheGameNotCalledAgain) {
  Shell shell;
  shell.start();
  ASSERT_TRUE(QFile::remove(QString::fromStdString(shell.path("open0.bmp"))));
  shell.form().rankTable[0] = {u"ABCDEFGHIJ", 0x1234};
  {
    const BoxAnswer answer;
    shell.click();
    EXPECT_EQ(answer.title, "ピルネノ翼");
    EXPECT_EQ(answer.text.toStdString(), "画像ファイル " + shell.path("open0.bmp") +
                                             " を読み込めません: ファイルがありません");
  }
  EXPECT_EQ(shell.exits, std::vector<int>{kFailureStatus});
  EXPECT_EQ(shell.ranking().left(12), QByteArray("ABCDEFGHIJ\x34\x12"));
  shell.click();
  shell.choose(*shell.form().mnu1[2]);
  shell.window.close();
  EXPECT_EQ(shell.form().scenePage, 0);
  EXPECT_TRUE(shell.form().effectOn());
  EXPECT_EQ(std::count(shell.music.commands.begin(), shell.music.commands.end(), "close"), 0);
}

}  // namespace
}  // namespace pirune::desktop::testing
