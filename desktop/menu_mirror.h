#pragma once
// The window's menu bar as Qt shows it. The check marks and enabled flags are the game's: Qt
// flips a checkable action's mark on its own when it is triggered, so every sync sets each
// action back to what the game's item says.

#include <QAction>
#include <QMenuBar>
#include <utility>
#include <vector>

#include "screen/menu.h"

namespace pirune::desktop {

class MenuMirror {
 public:
  MenuMirror(QMenuBar& bar, const MenuBar& model);

  // Compares every action with its item and corrects what differs: nine items, no allocation.
  void sync();
  // Every item of the game with the action that shows it.
  [[nodiscard]] const std::vector<std::pair<MenuItem*, QAction*>>& actions() const {
    return actions_;
  }

 private:
  void mirror(QAction* action, MenuItem& item);

  std::vector<std::pair<MenuItem*, QAction*>> actions_;
};

}  // namespace pirune::desktop
