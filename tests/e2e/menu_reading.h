#pragma once
// The menu bar, its drop-down menus and the boxes as the player sees them: where the titles
// stand, which items of an open menu are checked or greyed out, how many lines a box says.

#include <X11/Xlib.h>

#include <optional>
#include <vector>

#include "x_session.h"

namespace xdriver {

struct MenuBarTitles {
  int y = 0;           // the bar's middle on the screen
  std::vector<int> x;  // each title's middle on the screen, left to right
};

// Read from the dark letters on the light bar; nothing if the window is gone.
std::optional<MenuBarTitles> findMenuTitles(const Session& session, Window game);

struct MenuItemLook {
  int y = 0;         // the item's middle on the screen
  int checked = -1;  // 1 or 0 for an item with a check box, -1 for one without
  bool enabled = false;
};

std::vector<MenuItemLook> readMenu(const Session& session, Window popup);

// The lines of dark text in a message or input box, left of its buttons.
int countBoxLines(const Session& session, Window box);

}  // namespace xdriver
