// A small X11 driver for the end-to-end runs: finds the game's window, clicks with XTEST like
// a player's mouse, reads pixels off the screen and asks the window to close.
//
//   xdriver window NAME SECONDS    prints "ID X Y WIDTH HEIGHT SCREENHEIGHT" of the mapped window
//   xdriver click X Y [BUTTON]     presses and releases a button at a point of the screen
//   xdriver press X Y [BUTTON] / release X Y [BUTTON]
//   xdriver pixel X Y              prints "R G B" of a point of the screen
//   xdriver close ID               sends the window manager's close request (WM_DELETE_WINDOW)

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <thread>

namespace {

std::string windowName(Display* d, Window w) {
  const Atom netName = XInternAtom(d, "_NET_WM_NAME", False);
  const Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
  Atom type = None;
  int format = 0;
  unsigned long count = 0;
  unsigned long after = 0;
  unsigned char* data = nullptr;
  std::string name;
  if (XGetWindowProperty(d, w, netName, 0, 1024, False, utf8, &type, &format, &count, &after,
                         &data) == Success &&
      data != nullptr) {
    name.assign(reinterpret_cast<char*>(data), count);
    XFree(data);
  }
  return name;
}

std::optional<Window> findWindow(Display* d, Window w, const std::string& name) {
  XWindowAttributes attributes{};
  if (XGetWindowAttributes(d, w, &attributes) != 0 && attributes.map_state == IsViewable &&
      windowName(d, w) == name) {
    return w;
  }
  Window root = 0;
  Window parent = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  if (XQueryTree(d, w, &root, &parent, &children, &count) == 0) {
    return std::nullopt;
  }
  std::optional<Window> found;
  for (unsigned int i = 0; i < count && !found; ++i) {
    found = findWindow(d, children[i], name);
  }
  if (children != nullptr) {
    XFree(children);
  }
  return found;
}

int button(int argc, char** argv, int index) { return argc > index ? std::atoi(argv[index]) : 1; }

void pointer(Display* d, int x, int y, int b, bool press, bool release) {
  XTestFakeMotionEvent(d, -1, x, y, CurrentTime);
  if (press) {
    XTestFakeButtonEvent(d, static_cast<unsigned>(b), True, CurrentTime);
  }
  if (release) {
    XTestFakeButtonEvent(d, static_cast<unsigned>(b), False, CurrentTime);
  }
  XSync(d, False);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: xdriver window|click|press|release|pixel|close ...\n");
    return 2;
  }
  Display* d = XOpenDisplay(nullptr);
  if (d == nullptr) {
    std::fprintf(stderr, "xdriver: cannot open the display\n");
    return 2;
  }
  const std::string command = argv[1];
  const Window root = DefaultRootWindow(d);
  int status = 0;
  if (command == "window" && argc >= 4) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(std::atoi(argv[3]) * 1000);
    std::optional<Window> w;
    while (!(w = findWindow(d, root, argv[2])) && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (!w) {
      std::fprintf(stderr, "xdriver: no window named %s\n", argv[2]);
      status = 1;
    } else {
      XWindowAttributes a{};
      XGetWindowAttributes(d, *w, &a);
      int x = 0;
      int y = 0;
      Window child = 0;
      XTranslateCoordinates(d, *w, root, 0, 0, &x, &y, &child);
      std::printf("%lu %d %d %d %d %d\n", *w, x, y, a.width, a.height,
                  DisplayHeight(d, DefaultScreen(d)));
    }
  } else if ((command == "click" || command == "press" || command == "release") && argc >= 4) {
    pointer(d, std::atoi(argv[2]), std::atoi(argv[3]), button(argc, argv, 4),
            command != "release", command != "press");
  } else if (command == "pixel" && argc >= 4) {
    XImage* image = XGetImage(d, root, std::atoi(argv[2]), std::atoi(argv[3]), 1, 1, AllPlanes,
                              ZPixmap);
    if (image == nullptr) {
      status = 1;
    } else {
      const unsigned long p = XGetPixel(image, 0, 0);
      std::printf("%lu %lu %lu\n", (p >> 16) & 0xff, (p >> 8) & 0xff, p & 0xff);
      XDestroyImage(image);
    }
  } else if (command == "close" && argc >= 3) {
    const Window w = std::strtoul(argv[2], nullptr, 10);
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = w;
    e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
    e.xclient.data.l[1] = CurrentTime;
    XSendEvent(d, w, False, NoEventMask, &e);
    XSync(d, False);
  } else {
    std::fprintf(stderr, "xdriver: bad command\n");
    status = 2;
  }
  XCloseDisplay(d);
  return status;
}
