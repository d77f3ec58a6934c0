#include "x_session.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

namespace xdriver {

namespace {

std::vector<Window> childrenOf(Display* d, Window w) {
  Window root = 0;
  Window parent = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  std::vector<Window> result;
  if (XQueryTree(d, w, &root, &parent, &children, &count) != 0 && children != nullptr) {
    result.assign(children, children + count);
  }
  if (children != nullptr) {
    XFree(children);
  }
  return result;
}

bool viewable(Display* d, Window w, XWindowAttributes& attributes) {
  return XGetWindowAttributes(d, w, &attributes) != 0 && attributes.map_state == IsViewable;
}

// Viewable windows that are no menus, front-most last, as the server stacks them.
void collectShown(const Session& session, Window w, std::vector<Window>& found) {
  XWindowAttributes attributes{};
  if (viewable(session.display(), w, attributes) && attributes.override_redirect == False &&
      !session.name(w).empty()) {
    found.push_back(w);
  }
  for (const Window child : childrenOf(session.display(), w)) {
    collectShown(session, child, found);
  }
}

// Windows of menus and boxes come and go while the driver looks at them: a window that is gone
// is answered as not shown, not as a fatal error.
int ignoreErrors(Display* /*display*/, XErrorEvent* /*error*/) { return 0; }

// Keys pressed by the driver come one after another like a fast typist's, so that the toolkit
// sees each press and release on its own.
constexpr auto kKeyGap = std::chrono::milliseconds(8);

}  // namespace

Session::Session() : display_(XOpenDisplay(nullptr)), root_(0) {
  if (display_ == nullptr) {
    throw std::runtime_error("cannot open the display");
  }
  root_ = DefaultRootWindow(display_);
  XSetErrorHandler(ignoreErrors);
}

Session::~Session() { XCloseDisplay(display_); }

int Session::screenWidth() const { return DisplayWidth(display_, DefaultScreen(display_)); }

int Session::screenHeight() const { return DisplayHeight(display_, DefaultScreen(display_)); }

std::string Session::name(Window w) const {
  const Atom netName = XInternAtom(display_, "_NET_WM_NAME", False);
  const Atom utf8 = XInternAtom(display_, "UTF8_STRING", False);
  Atom type = None;
  int format = 0;
  unsigned long count = 0;
  unsigned long after = 0;
  unsigned char* data = nullptr;
  std::string result;
  if (XGetWindowProperty(display_, w, netName, 0, 1024, False, utf8, &type, &format, &count, &after,
                         &data) == Success &&
      data != nullptr) {
    result.assign(reinterpret_cast<char*>(data), count);
    XFree(data);
  }
  return result;
}

std::optional<Geometry> Session::geometry(Window w) const {
  XWindowAttributes attributes{};
  if (!viewable(display_, w, attributes)) {
    return std::nullopt;
  }
  Geometry g;
  Window child = 0;
  XTranslateCoordinates(display_, w, root_, 0, 0, &g.x, &g.y, &child);
  g.width = attributes.width;
  g.height = attributes.height;
  return g;
}

std::optional<Window> Session::findNamed(const std::string& windowName, Window exclude) const {
  std::vector<Window> shown;
  collectShown(*this, root_, shown);
  std::optional<Window> front;
  for (const Window w : shown) {
    if (w != exclude && name(w) == windowName) {
      front = w;
    }
  }
  return front;
}

std::vector<std::string> Session::windowNames() const {
  std::vector<Window> shown;
  collectShown(*this, root_, shown);
  std::vector<std::string> names;
  names.reserve(shown.size());
  for (const Window w : shown) {
    names.push_back(name(w));
  }
  return names;
}

std::optional<Window> Session::findPopup() const {
  std::optional<Window> front;
  for (const Window w : childrenOf(display_, root_)) {
    XWindowAttributes attributes{};
    if (viewable(display_, w, attributes) && attributes.override_redirect == True &&
        attributes.width > 8 && attributes.height > 8) {
      front = w;
    }
  }
  return front;
}

void Session::press(int x, int y, unsigned button) {
  XTestFakeMotionEvent(display_, -1, x, y, CurrentTime);
  XTestFakeButtonEvent(display_, button, True, CurrentTime);
  XSync(display_, False);
}

void Session::release(int x, int y, unsigned button) {
  XTestFakeMotionEvent(display_, -1, x, y, CurrentTime);
  XTestFakeButtonEvent(display_, button, False, CurrentTime);
  XSync(display_, False);
}

void Session::click(int x, int y, unsigned button) {
  XTestFakeMotionEvent(display_, -1, x, y, CurrentTime);
  XTestFakeButtonEvent(display_, button, True, CurrentTime);
  XTestFakeButtonEvent(display_, button, False, CurrentTime);
  XSync(display_, False);
}

void Session::tapKeysym(unsigned long keysym) {
  const KeyCode code = XKeysymToKeycode(display_, keysym);
  if (code == 0) {
    throw std::runtime_error("no key for keysym " + std::to_string(keysym));
  }
  const bool shifted = XkbKeycodeToKeysym(display_, code, 0, 0) != keysym &&
                       XkbKeycodeToKeysym(display_, code, 0, 1) == keysym;
  const KeyCode shift = XKeysymToKeycode(display_, XK_Shift_L);
  if (shifted) {
    XTestFakeKeyEvent(display_, shift, True, CurrentTime);
  }
  XTestFakeKeyEvent(display_, code, True, CurrentTime);
  XTestFakeKeyEvent(display_, code, False, CurrentTime);
  if (shifted) {
    XTestFakeKeyEvent(display_, shift, False, CurrentTime);
  }
  XSync(display_, False);
  std::this_thread::sleep_for(kKeyGap);
}

void Session::type(const std::string& text) {
  for (const char c : text) {
    if (c < 0x20 || c > 0x7e) {
      throw std::runtime_error("only printable ASCII can be typed");
    }
    // Printable ASCII and its X keysyms share their codes.
    tapKeysym(static_cast<unsigned char>(c));
  }
}

void Session::key(const std::string& keysymName) {
  const KeySym keysym = XStringToKeysym(keysymName.c_str());
  if (keysym == NoSymbol) {
    throw std::runtime_error("no key named " + keysymName);
  }
  tapKeysym(keysym);
}

void Session::requestClose(Window w) {
  XEvent e{};
  e.xclient.type = ClientMessage;
  e.xclient.window = w;
  e.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
  e.xclient.format = 32;
  e.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
  e.xclient.data.l[1] = CurrentTime;
  XSendEvent(display_, w, False, NoEventMask, &e);
  XSync(display_, False);
}

}  // namespace xdriver
