#pragma once
// The menu bar as a shell shows it: every item numbered once, in the order it stands (a menu,
// then its items), and after each call into the game what changed in the check marks and
// enabled flags, so that a shell only applies changes.

#include <string>
#include <vector>

#include "screen/menu.h"

namespace pirune {

struct MenuEntry {
  int id = 0;
  int parent = -1;  // -1: on the bar itself
  std::u16string caption;
  bool checkable = false;
  bool opensMenu = false;
  friend bool operator==(const MenuEntry&, const MenuEntry&) = default;
};

struct MenuState {
  int id = 0;
  bool checked = false;  // false for an item that is not checkable
  bool enabled = true;
  friend bool operator==(const MenuState&, const MenuState&) = default;
};

class MenuChanges {
 public:
  explicit MenuChanges(const MenuBar& bar);

  [[nodiscard]] const std::vector<MenuEntry>& entries() const { return entries_; }
  // What differs from what the shell shows: everything the first time.
  [[nodiscard]] std::vector<MenuState> take();
  // The shell may have changed how it shows the item on its own (a toolkit flips a check mark
  // when the item is chosen): the next take() reports it whatever it was.
  void forget(int id);
  // The game's item numbered `id`, or nullptr.
  [[nodiscard]] MenuItem* item(int id) const;

 private:
  void number(MenuItem& item, int parent);

  std::vector<MenuEntry> entries_;
  std::vector<MenuItem*> items_;
  std::vector<MenuState> shown_;
  std::vector<bool> known_;
};

}  // namespace pirune
