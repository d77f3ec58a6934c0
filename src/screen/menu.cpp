#include "screen/menu.h"

#include <utility>

namespace pirune {

MenuItem::MenuItem(MenuBar& bar, std::u16string caption, bool checked, bool checkable)
    : bar_(bar), caption_(std::move(caption)), checked_(checked), checkable_(checkable) {}

void MenuItem::setChecked(bool checked) {
  if (checked == checked_) {
    return;
  }
  checked_ = checked;
  bar_.touch();
}

void MenuItem::setEnabled(bool enabled) {
  if (enabled == enabled_) {
    return;
  }
  enabled_ = enabled;
  bar_.touch();
}

}  // namespace pirune
