#include "x_session.h"

#include <X11/extensions/XTest.h>

#include <stdexcept>
#include <vector>

namespace bench {

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

}  // namespace

XSession::XSession() : display_(XOpenDisplay(nullptr)), root_(0) {
  if (display_ == nullptr) {
    throw std::runtime_error("cannot open the display");
  }
  root_ = DefaultRootWindow(display_);
}

XSession::~XSession() { XCloseDisplay(display_); }

std::string XSession::name(Window w) const {
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

std::optional<Geometry> XSession::geometry(Window w) const {
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

std::optional<Window> XSession::findNamed(const std::string& windowName) const {
  // Without a window manager the programs' windows are the root's children, stacked back to
  // front.
  std::optional<Window> front;
  for (const Window w : childrenOf(display_, root_)) {
    XWindowAttributes attributes{};
    if (viewable(display_, w, attributes) && attributes.override_redirect == False &&
        name(w) == windowName) {
      front = w;
    }
  }
  return front;
}

void XSession::click(int x, int y) {
  XTestFakeMotionEvent(display_, -1, x, y, CurrentTime);
  XTestFakeButtonEvent(display_, 1, True, CurrentTime);
  XTestFakeButtonEvent(display_, 1, False, CurrentTime);
  XSync(display_, False);
}

void XSession::requestClose(Window w) {
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

}  // namespace bench
