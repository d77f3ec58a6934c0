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

TEST(MenuChanges, EverythingFirstThenOnlyWhatChangedOrWhatTheShellMayHaveFlipped) {
  Bar b;
  MenuChanges changes(b.bar);
  using States = std::vector<MenuState>;
  EXPECT_EQ(changes.take(),
            (States{{0, false, true}, {1, true, true}, {2, false, true}, {3, false, true}}));
  EXPECT_EQ(changes.take(), States{});
  EXPECT_EQ(changes.item(2), &b.endless);  // a menu, then its items
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
