#pragma once
// The window's menu bar as Qt shows it. The check marks and enabled flags are the game's: an
// action never toggles itself, it is set from the game's menu items after every command.

#include <QAction>
#include <QMenuBar>
#include <cstdint>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "screen/menu.h"

namespace pirune::desktop {

class MenuMirror {
 public:
  // `choose` runs the item's command; the mirror syncs itself after it.
  MenuMirror(QMenuBar& bar, MenuBar& model, std::function<void(MenuItem&)> choose);

  void syncIfChanged();
  void sync();
  // The action that shows `item`, or nullptr.
  [[nodiscard]] QAction* actionFor(const MenuItem& item) const;

 private:
  QAction* mirror(QAction* action, MenuItem& item);

  MenuBar& model_;
  std::function<void(MenuItem&)> choose_;
  std::vector<std::pair<MenuItem*, QAction*>> actions_;
  std::optional<std::uint64_t> syncedRevision_;
};

// Captions are shown as they stand: an ampersand is no access key.
QString menuCaption(const std::u16string& caption);

}  // namespace pirune::desktop
