#pragma once
// The window's menu bar as the page shows it. The check marks and enabled flags are the
// game's: the page never flips a mark itself, it is set from the game's menu items after every
// call into the game.

#include <vector>

#include "screen/menu.h"

namespace pirune::web {

class MenuMirror {
 public:
  explicit MenuMirror(const MenuBar& model);

  // Compares every item with what the page shows and tells the page what differs.
  void sync();
  // The game's item that the page shows under `id`, or nullptr.
  [[nodiscard]] MenuItem* item(int id) const;

 private:
  struct Shown {
    MenuItem* item;
    int id;
    bool checked;
    bool enabled;
  };
  void mirror(MenuItem& item, int parent);

  std::vector<Shown> shown_;
};

}  // namespace pirune::web
