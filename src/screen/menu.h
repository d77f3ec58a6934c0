#pragma once
// The window's menu bar. The check marks of the option items are the only copy of the options.

#include <functional>
#include <string>
#include <vector>

namespace pirune {

class MenuItem {
 public:
  MenuItem(std::u16string caption, bool checked, bool checkable);
  MenuItem(const MenuItem&) = delete;
  MenuItem& operator=(const MenuItem&) = delete;
  MenuItem(MenuItem&&) = delete;
  MenuItem& operator=(MenuItem&&) = delete;
  ~MenuItem() = default;

  [[nodiscard]] const std::u16string& Caption() const { return caption_; }
  [[nodiscard]] bool Checked() const { return checked_; }
  [[nodiscard]] bool Enabled() const { return enabled_; }
  [[nodiscard]] bool checkable() const { return checkable_; }
  [[nodiscard]] const std::vector<MenuItem*>& items() const { return items_; }

  void setChecked(bool checked) { checked_ = checked; }
  void setEnabled(bool enabled) { enabled_ = enabled; }
  void add(MenuItem& child) { items_.push_back(&child); }

  // What a click on the item does; empty for a drop-down menu.
  std::function<void()> onClick;

 private:
  std::u16string caption_;
  bool checked_;
  bool checkable_;
  bool enabled_ = true;
  std::vector<MenuItem*> items_;
};

struct MenuBar {
  // The menus and commands on the bar, left to right.
  std::vector<MenuItem*> top;
};

}  // namespace pirune
