#pragma once
// The driver's connection to the X server: finding the game's windows and acting on them like a
// player's mouse and keyboard (XTEST), or like a window manager's close button.

#include <X11/Xlib.h>

#include <optional>
#include <string>
#include <vector>

namespace xdriver {

struct Geometry {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

class Session {
 public:
  Session();
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;
  Session(Session&&) = delete;
  Session& operator=(Session&&) = delete;

  [[nodiscard]] Display* display() const { return display_; }
  [[nodiscard]] Window root() const { return root_; }
  [[nodiscard]] int screenWidth() const;
  [[nodiscard]] int screenHeight() const;

  [[nodiscard]] std::string name(Window w) const;
  // Where a viewable window lies on the screen; nothing once it is unmapped or destroyed.
  [[nodiscard]] std::optional<Geometry> geometry(Window w) const;
  // A viewable window that is no menu (not override-redirect), bearing this name.
  [[nodiscard]] std::optional<Window> findNamed(const std::string& name, Window exclude) const;
  // The names of the viewable windows that are no menus, back to front.
  [[nodiscard]] std::vector<std::string> windowNames() const;
  // The front-most viewable menu (override-redirect window) of a real size.
  [[nodiscard]] std::optional<Window> findPopup() const;

  void click(int x, int y, unsigned button = 1);
  void press(int x, int y, unsigned button = 1);
  void release(int x, int y, unsigned button = 1);
  // Printable ASCII as typed on the keyboard, Shift where the character needs it.
  void type(const std::string& text);
  // One key by its X name: "Return", "Escape", "Tab".
  void key(const std::string& keysymName);
  void requestClose(Window w);

 private:
  void tapKeysym(unsigned long keysym);

  Display* display_;
  Window root_;
};

}  // namespace xdriver
