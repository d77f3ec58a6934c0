#include "menu_mirror.h"

#include <QMenu>
#include <QSignalBlocker>

namespace pirune::desktop {

QString menuCaption(const std::u16string& caption) {
  QString text = QString::fromStdU16String(caption);
  text.replace(QLatin1Char('&'), QStringLiteral("&&"));
  return text;
}

MenuMirror::MenuMirror(QMenuBar& bar, MenuBar& model) : model_(model) {
  for (MenuItem* top : model_.top) {
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
    if (item->checkable()) {
      action->setChecked(item->Checked());
    }
    action->setEnabled(item->Enabled());
  }
  syncedRevision_ = model_.revision();
}

void MenuMirror::syncIfChanged() {
  if (syncedRevision_ != model_.revision()) {
    sync();
  }
}

QAction* MenuMirror::actionFor(const MenuItem& item) const {
  for (const auto& [mirrored, action] : actions_) {
    if (mirrored == &item) {
      return action;
    }
  }
  return nullptr;
}

}  // namespace pirune::desktop
