#include "screen/menu.h"

#include <utility>

namespace pirune {

MenuItem::MenuItem(std::u16string caption, bool checked, bool checkable)
    : caption_(std::move(caption)), checked_(checked), checkable_(checkable) {}

}  // namespace pirune
