// The menu bar's help and version.

#include <gtest/gtest.h>

#include "support/scripted_platform.h"

namespace pirune::testing {
namespace {

TEST(MenuCommands, HelpAndVersionAreShownWholeUnderTheGamesTitleAndNoOtherItemShowsABox) {
  Game game;
  for (const std::int16_t item : {0, 1, 2}) {  // there is no item 2
    game.form.playmnu1_Click(item);
  }
  // Each box shows its text whole, its lines broken at LF, the one break every shell shows.
  const std::vector<Box> expected = {
      {u"マウスクリックでピルネが羽ばたきます。\n飛びすぎると羽が溶けて\n"
       u"ピルネノ飛行ダウン率が上がります。\n下がりすぎると死にます。\n"
       u"オプションの無限メニュウで\n何処までも飛んでいくことが出来ます。\n"
       u"（コンピューターの限界まで）",
       u"ピルネノ翼"},
      {u"ピルネノ翼ver1.00\nby the ピルネノ翼 project", u"ピルネノ翼"},
  };
  ASSERT_EQ(game.platform.boxes.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(game.platform.boxes[i].text, expected[i].text) << i;
    EXPECT_EQ(game.platform.boxes[i].title, expected[i].title) << i;
    EXPECT_FALSE(game.platform.boxes[i].input) << i;
  }
}

}  // namespace
}  // namespace pirune::testing
