// The menu bar as a shell shows it: numbered once, then only what changed.

#include "host/menu_changes.h"

#include <gtest/gtest.h>

#include <functional>

namespace pirune {
namespace {

struct Bar {
  MenuItem file{u"ファイル", false, false};
  MenuItem music{u"ＢＧＭ", true, true};
  MenuItem endless{u"無限モード", false, true};
  MenuItem start{u"初期化スタート", false, false};
  MenuBar bar;

  Bar() {
    file.add(music);
    file.add(endless);
    bar.top = {&file, &start};
  }
};

TEST(MenuChanges, ItemsAreNumberedAMenuThenItsItems) {
  Bar b;
  const MenuChanges changes(b.bar);
  const std::vector<MenuEntry> expected = {
      {0, -1, u"ファイル", false, true},
      {1, 0, u"ＢＧＭ", true, false},
      {2, 0, u"無限モード", true, false},
      {3, -1, u"初期化スタート", false, false},
  };
  EXPECT_EQ(changes.entries(), expected);
  EXPECT_EQ(changes.item(2), &b.endless);
  EXPECT_EQ(changes.item(4), nullptr);
  EXPECT_EQ(changes.item(-1), nullptr);
}

TEST(MenuChanges, EverythingFirstThenOnlyWhatChangedOrWhatTheShellMayHaveFlipped) {
  Bar b;
  MenuChanges changes(b.bar);
  using States = std::vector<MenuState>;
  EXPECT_EQ(changes.take(),
            (States{{0, false, true}, {1, true, true}, {2, false, true}, {3, false, true}}));
  EXPECT_EQ(changes.take(), States{});
  const struct {
    const char* what;
    std::function<void()> change;
    States reported;
  } steps[] = {
      {"the music switched off", [&] { b.music.setChecked(false); }, {{1, false, true}}},
      {"switched off again", [&] { b.music.setChecked(false); }, {}},
      {"endless mode greyed out", [&] { b.endless.setEnabled(false); }, {{2, false, false}}},
      {"a check mark on an item that shows none", [&] { b.start.setChecked(true); }, {}},
      {"the shell flipped the music's mark", [&] { changes.forget(1); }, {{1, false, true}}},
      {"two at once",
       [&] {
         b.music.setChecked(true);
         b.endless.setEnabled(true);
       },
       {{1, true, true}, {2, false, true}}},
  };
  for (const auto& step : steps) {
    step.change();
    EXPECT_EQ(changes.take(), step.reported) << step.what;
  }
}

}  // namespace
}  // namespace pirune
