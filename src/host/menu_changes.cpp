#include "host/menu_changes.h"

namespace pirune {

MenuChanges::MenuChanges(const MenuBar& bar) {
  for (MenuItem* top : bar.top) {
    number(*top, -1);
  }
  known_.assign(items_.size(), false);
  shown_.resize(items_.size());
}

void MenuChanges::number(MenuItem& item, int parent) {
  const int id = static_cast<int>(items_.size());
  entries_.push_back({id, parent, item.Caption(), item.checkable(), !item.items().empty()});
  items_.push_back(&item);
  for (MenuItem* child : item.items()) {
    number(*child, id);
  }
}

std::vector<MenuState> MenuChanges::take() {
  std::vector<MenuState> changes;
  for (std::size_t i = 0; i < items_.size(); ++i) {
    const MenuItem& item = *items_[i];
    const MenuState now{static_cast<int>(i), item.checkable() && item.Checked(), item.Enabled()};
    if (!known_[i] || now != shown_[i]) {
      changes.push_back(now);
      shown_[i] = now;
      known_[i] = true;
    }
  }
  return changes;
}

void MenuChanges::forget(int id) {
  if (id >= 0 && static_cast<std::size_t>(id) < known_.size()) {
    known_[static_cast<std::size_t>(id)] = false;
  }
}

MenuItem* MenuChanges::item(int id) const {
  if (id < 0 || static_cast<std::size_t>(id) >= items_.size()) {
    return nullptr;
  }
  return items_[static_cast<std::size_t>(id)];
}

}  // namespace pirune
