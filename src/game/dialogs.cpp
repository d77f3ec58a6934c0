// The window's boxes. While one is open the flight and the background effect are held, so the
// player never comes back to a flight that ended behind the box.

#include "game/form.h"
#include "game/line_feeds.h"

namespace pirune {

void FOM::showMessage(const std::u16string& text) {
  const ModalScope scope(timers);
  platform_.messageBox(kAppTitle, withLineFeeds(text));
}

std::optional<std::u16string> FOM::askText(const std::u16string& prompt,
                                           const std::u16string& title) {
  const ModalScope scope(timers);
  return platform_.inputBox(title, withLineFeeds(prompt));
}

}  // namespace pirune
