#pragma once
// The window's menu bar. The check marks of the option items are the only copy of the options.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace pirune {

class MenuBar;

class MenuItem {
 public:
  MenuItem(MenuBar& bar, std::u16string caption, bool checked, bool checkable);
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

  void setChecked(bool checked);
  void setEnabled(bool enabled);
  void add(MenuItem& child) { items_.push_back(&child); }

  // What a click on the item does; empty for a drop-down menu.
  std::function<void()> onClick;

 private:
  MenuBar& bar_;
  std::u16string caption_;
  bool checked_;
  bool checkable_;
  bool enabled_ = true;
  std::vector<MenuItem*> items_;
};

class MenuBar {
 public:
  // The menus and commands on the bar, left to right.
  std::vector<MenuItem*> top;
  [[nodiscard]] std::uint64_t revision() const { return revision_; }
  void touch() { ++revision_; }

 private:
  std::uint64_t revision_ = 0;
};

}  // namespace pirune
