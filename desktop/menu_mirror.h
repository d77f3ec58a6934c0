#pragma once
// The window's menu bar as Qt shows it. The check marks and enabled flags are the game's: an
// action never toggles itself, it is set from the game's menu items after every command.

#include <QAction>
#include <QMenuBar>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "screen/menu.h"

namespace pirune::desktop {

class MenuMirror {
 public:
  MenuMirror(QMenuBar& bar, MenuBar& model);

  void syncIfChanged();
  void sync();
  // Every item of the game with the action that shows it.
  [[nodiscard]] const std::vector<std::pair<MenuItem*, QAction*>>& actions() const {
    return actions_;
  }
  // The action that shows `item`, or nullptr.
  [[nodiscard]] QAction* actionFor(const MenuItem& item) const;

 private:
  void mirror(QAction* action, MenuItem& item);

  MenuBar& model_;
  std::vector<std::pair<MenuItem*, QAction*>> actions_;
  std::optional<std::uint64_t> syncedRevision_;
};

// Captions are shown as they stand: an ampersand is no access key.
QString menuCaption(const std::u16string& caption);

}  // namespace pirune::desktop
