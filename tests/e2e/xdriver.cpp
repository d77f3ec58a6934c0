// The driver of the end-to-end runs: finds the game's windows, clicks and types like a player,
// reads the screen like one, and asks the window to close like a window manager.
//
//   xdriver window NAME SECONDS [EXCLUDE]  "ID X Y WIDTH HEIGHT SCREENHEIGHT SCREENWIDTH" of a
//                                          window so named (a box, when EXCLUDE is the game's)
//   xdriver gone ID SECONDS                waits until the window is no longer shown
//   xdriver popup SECONDS                  "ID X Y WIDTH HEIGHT" of an open menu
//   xdriver items POPUP                    one line per menu item: "Y CHECKED ENABLED"
//   xdriver lines BOX                      how many lines of text a box shows
//   xdriver bar WIN                        "Y X1 X2 ..." of the menu bar's titles
//   xdriver client WIN                     "X Y WIDTH HEIGHT BAR" of the client area
//   xdriver look WIN                       every reading of the client area, NAME=VALUE
//   xdriver wait WIN SECONDS COND...       until every condition holds (exit 1 on time-out)
//   xdriver hold WIN SECONDS COND...       that every condition holds all that time
//   xdriver snap WIN FILE                  keeps the client area as a reference picture
//   xdriver fly WIN BEATS BELOW [SECONDS [COND...]]
//                                          a player: a beat whenever the hero is lower than
//                                          BELOW, until BEATS, the end of the flight, or COND
//   xdriver click|press|release X Y [BUTTON], xdriver pixel X Y
//   xdriver type TEXT, xdriver key NAME...  (keys by X name: Return, Escape)
//   xdriver close ID                       the window manager's close request
//
// The readings name the picture shown when XDRIVER_PICTURES holds the game's folder, and
// compare with a snapped reference picture when XDRIVER_REFERENCE names its file.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "conditions.h"
#include "menu_reading.h"
#include "player_bot.h"
#include "reading.h"
#include "screen_grab.h"
#include "x_session.h"

namespace {

using namespace xdriver;
using Clock = std::chrono::steady_clock;

struct Arguments {
  std::vector<std::string> words;

  [[nodiscard]] const std::string& at(std::size_t i) const {
    if (i >= words.size()) {
      throw std::runtime_error("missing argument " + std::to_string(i));
    }
    return words[i];
  }
  [[nodiscard]] int number(std::size_t i) const { return std::stoi(at(i)); }
  [[nodiscard]] double real(std::size_t i) const { return std::stod(at(i)); }
  [[nodiscard]] Window window(std::size_t i) const { return std::stoul(at(i)); }
  [[nodiscard]] bool has(std::size_t i) const { return i < words.size(); }
};

Clock::time_point after(double seconds) {
  return Clock::now() + std::chrono::milliseconds(static_cast<long>(seconds * 1000));
}

void pause() { std::this_thread::sleep_for(std::chrono::milliseconds(20)); }

LookOptions lookOptions() {
  LookOptions options;
  if (const char* folder = std::getenv("XDRIVER_PICTURES"); folder != nullptr && *folder != 0) {
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      if (entry.path().extension() == ".bmp") {
        options.bitmaps.push_back(entry.path().string());
      }
    }
  }
  if (const char* file = std::getenv("XDRIVER_REFERENCE"); file != nullptr && *file != 0) {
    options.reference = Picture::loadPpm(file);
    if (!options.reference) {
      throw std::runtime_error(std::string("no reference picture in ") + file);
    }
  }
  return options;
}

std::vector<Condition> conditionsFrom(const Arguments& args, std::size_t first) {
  std::vector<Condition> conditions;
  for (std::size_t i = first; i < args.words.size(); ++i) {
    const auto condition = parseCondition(args.words[i]);
    if (!condition) {
      throw std::runtime_error("not a condition: " + args.words[i]);
    }
    conditions.push_back(*condition);
  }
  return conditions;
}

Metrics readingsOf(const Session& session, Window game, const LookOptions& options) {
  const auto client = grabClient(session, game);
  if (!client) {
    return {{"window", "gone"}};
  }
  return look(*client, options);
}

// wait: until the conditions hold; hold: as long as they hold, for the whole time.
int watch(const Session& session, const Arguments& args, bool untilTheyHold) {
  const Window game = args.window(1);
  const auto deadline = after(args.real(2));
  const auto conditions = conditionsFrom(args, 3);
  const LookOptions options = lookOptions();
  Metrics metrics;
  do {
    metrics = readingsOf(session, game, options);
    if (allHold(conditions, metrics) == untilTheyHold) {
      if (untilTheyHold) {
        std::printf("%s\n", format(metrics).c_str());
        return 0;
      }
      std::fprintf(stderr, "xdriver: no longer so: %s\n", format(metrics).c_str());
      return 1;
    }
    pause();
  } while (Clock::now() < deadline);
  if (untilTheyHold) {
    std::fprintf(stderr, "xdriver: not so in time: %s\n", format(metrics).c_str());
    return 1;
  }
  std::printf("%s\n", format(metrics).c_str());
  return 0;
}

int findWindow(const Session& session, const Arguments& args) {
  const auto deadline = after(args.real(2));
  const Window exclude = args.has(3) ? args.window(3) : 0;
  do {
    if (const auto w = session.findNamed(args.at(1), exclude)) {
      if (const auto g = session.geometry(*w)) {
        std::printf("%lu %d %d %d %d %d %d\n", *w, g->x, g->y, g->width, g->height,
                    session.screenHeight(), session.screenWidth());
        return 0;
      }
    }
    pause();
  } while (Clock::now() < deadline);
  std::string shown;
  for (const std::string& name : session.windowNames()) {
    shown += " \"" + name + "\"";
  }
  std::fprintf(stderr, "xdriver: no window named \"%s\"; shown:%s\n", args.at(1).c_str(),
               shown.c_str());
  return 1;
}

int waitGone(const Session& session, const Arguments& args) {
  const auto deadline = after(args.real(2));
  do {
    if (!session.geometry(args.window(1))) {
      return 0;
    }
    pause();
  } while (Clock::now() < deadline);
  std::fprintf(stderr, "xdriver: window %s still shown\n", args.at(1).c_str());
  return 1;
}

int findPopup(const Session& session, const Arguments& args) {
  const auto deadline = after(args.real(1));
  do {
    if (const auto w = session.findPopup()) {
      if (const auto g = session.geometry(*w)) {
        std::printf("%lu %d %d %d %d\n", *w, g->x, g->y, g->width, g->height);
        return 0;
      }
    }
    pause();
  } while (Clock::now() < deadline);
  std::fprintf(stderr, "xdriver: no menu open\n");
  return 1;
}

int flyCommand(Session& session, const Arguments& args) {
  FlightPlan plan;
  plan.beats = args.number(2);
  plan.beatBelow = args.real(3);
  if (args.has(4)) {
    plan.seconds = args.real(4);
  }
  plan.until = conditionsFrom(args, 5);
  const FlightLog log = fly(session, args.window(1), plan);
  std::printf("beats=%d ended=%d met=%d lowest=%.1f highest=%.1f seconds=%.1f %s\n", log.beats,
              log.ended ? 1 : 0, log.met ? 1 : 0, log.lowest, log.highest, log.seconds,
              format(log.last).c_str());
  return 0;
}

int run(Session& session, const Arguments& args) {
  const std::string& command = args.at(0);
  if (command == "window") return findWindow(session, args);
  if (command == "gone") return waitGone(session, args);
  if (command == "popup") return findPopup(session, args);
  if (command == "items") {
    for (const MenuItemLook& item : readMenu(session, args.window(1))) {
      std::printf("%d %d %d\n", item.y, item.checked, item.enabled ? 1 : 0);
    }
    return 0;
  }
  if (command == "lines") {
    std::printf("%d\n", countBoxLines(session, args.window(1)));
    return 0;
  }
  if (command == "bar") {
    const auto titles = findMenuTitles(session, args.window(1));
    if (!titles) {
      return 1;
    }
    std::printf("%d", titles->y);
    for (const int x : titles->x) {
      std::printf(" %d", x);
    }
    std::printf("\n");
    return 0;
  }
  if (command == "client") {
    const auto client = grabClient(session, args.window(1));
    if (!client) {
      return 1;
    }
    std::printf("%d %d %d %d %d\n", client->onScreen.x, client->onScreen.y, client->onScreen.width,
                client->onScreen.height, client->barHeight);
    return 0;
  }
  if (command == "look") {
    std::printf("%s\n", format(readingsOf(session, args.window(1), lookOptions())).c_str());
    return 0;
  }
  if (command == "wait") return watch(session, args, true);
  if (command == "hold") return watch(session, args, false);
  if (command == "snap") {
    const auto client = grabClient(session, args.window(1));
    return client && client->picture.savePpm(args.at(2)) ? 0 : 1;
  }
  if (command == "fly") return flyCommand(session, args);
  if (command == "click" || command == "press" || command == "release") {
    const int x = args.number(1);
    const int y = args.number(2);
    const auto button = static_cast<unsigned>(args.has(3) ? args.number(3) : 1);
    if (command == "click") {
      session.click(x, y, button);
    } else if (command == "press") {
      session.press(x, y, button);
    } else {
      session.release(x, y, button);
    }
    return 0;
  }
  if (command == "pixel") {
    const Picture p = Picture::grab(session, {args.number(1), args.number(2), 1, 1});
    std::printf("%d %d %d\n", p.at(0, 0).r, p.at(0, 0).g, p.at(0, 0).b);
    return 0;
  }
  if (command == "type") {
    session.type(args.at(1));
    return 0;
  }
  if (command == "key") {
    for (std::size_t i = 1; i < args.words.size(); ++i) {
      session.key(args.words[i]);
    }
    return 0;
  }
  if (command == "close") {
    session.requestClose(args.window(1));
    return 0;
  }
  throw std::runtime_error("no command " + command);
}

}  // namespace

int main(int argc, char** argv) {
  Arguments args;
  for (int i = 1; i < argc; ++i) {
    args.words.emplace_back(argv[i]);
  }
  if (args.words.empty()) {
    std::fprintf(stderr, "usage: xdriver COMMAND ... (see the top of xdriver.cpp)\n");
    return 2;
  }
  try {
    Session session;
    return run(session, args);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "xdriver: %s\n", error.what());
    return 2;
  }
}
