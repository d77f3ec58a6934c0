#pragma once
// The probe's connection to the X server: finding a program's window by its name, clicking
// like a player's mouse (XTEST), and closing a window as a window manager's close button does.

#include <X11/Xlib.h>

#include <optional>
#include <string>

namespace bench {

struct Geometry {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

class XSession {
 public:
  XSession();
  ~XSession();
  XSession(const XSession&) = delete;
  XSession& operator=(const XSession&) = delete;
  XSession(XSession&&) = delete;
  XSession& operator=(XSession&&) = delete;

  [[nodiscard]] Display* display() const { return display_; }

  // Where a viewable window lies on the screen; nothing once it is unmapped or destroyed.
  [[nodiscard]] std::optional<Geometry> geometry(Window w) const;
  // The front-most viewable window that is no menu (not override-redirect) with this name.
  [[nodiscard]] std::optional<Window> findNamed(const std::string& name) const;

  void click(int x, int y);
  void requestClose(Window w);

 private:
  [[nodiscard]] std::string name(Window w) const;

  Display* display_;
  Window root_;
};

}  // namespace bench
