#include "menu_mirror.h"

#include "page.h"

namespace pirune::web {

MenuMirror::MenuMirror(const MenuBar& model) {
  for (MenuItem* top : model.top) {
    mirror(*top, -1);
  }
  for (const Shown& entry : shown_) {
    page::showMenuItem(entry.id, entry.checked, entry.enabled);
  }
}

void MenuMirror::mirror(MenuItem& item, int parent) {
  const int id = page::addMenuItem(parent, item.Caption(), item.checkable(), !item.items().empty());
  shown_.push_back({&item, id, item.checkable() && item.Checked(), item.Enabled()});
  for (MenuItem* child : item.items()) {
    mirror(*child, id);
  }
}

void MenuMirror::sync() {
  for (Shown& entry : shown_) {
    const bool checked = entry.item->checkable() && entry.item->Checked();
    const bool enabled = entry.item->Enabled();
    if (checked != entry.checked || enabled != entry.enabled) {
      entry.checked = checked;
      entry.enabled = enabled;
      page::showMenuItem(entry.id, checked, enabled);
    }
  }
}

MenuItem* MenuMirror::item(int id) const {
  for (const Shown& entry : shown_) {
    if (entry.id == id) {
      return entry.item;
    }
  }
  return nullptr;
}

}  // namespace pirune::web
