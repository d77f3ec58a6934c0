#include "menu_mirror.h"

#include <QMenu>
#include <QSignalBlocker>

namespace pirune::desktop {

namespace {

// Captions are shown as they stand: an ampersand is no access key.
QString menuCaption(const std::u16string& caption) {
  QString text = QString::fromStdU16String(caption);
  text.replace(QLatin1Char('&'), QStringLiteral("&&"));
  return text;
}

}  // namespace

MenuMirror::MenuMirror(QMenuBar& bar, const MenuBar& model) {
  for (MenuItem* top : model.top) {
    if (top->items().empty()) {
      mirror(bar.addAction(menuCaption(top->Caption())), *top);
      continue;
    }
    QMenu* menu = bar.addMenu(menuCaption(top->Caption()));
    mirror(menu->menuAction(), *top);
    for (MenuItem* item : top->items()) {
      mirror(menu->addAction(menuCaption(item->Caption())), *item);
    }
  }
  sync();
}

void MenuMirror::mirror(QAction* action, MenuItem& item) {
  action->setCheckable(item.checkable());
  action->setMenuRole(QAction::NoRole);
  actions_.emplace_back(&item, action);
}

void MenuMirror::sync() {
  for (auto& [item, action] : actions_) {
    const QSignalBlocker quiet(action);
    if (item->checkable() && action->isChecked() != item->Checked()) {
      action->setChecked(item->Checked());
    }
    if (action->isEnabled() != item->Enabled()) {
      action->setEnabled(item->Enabled());
    }
  }
}

}  // namespace pirune::desktop
