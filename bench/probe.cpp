// The benchmark's eye and hand on the X server: starts a program, watches the screen for its
// first frame, and plays a flight of the game like a player who only looks at the screen.
//
//   probe startup --name NAME --expect picture|black [--settle-ms MS] [--shot FILE.ppm]
//                 -- PROGRAM [ARGS...]
//       start-up time (launch to the first frame that shows the expected client area) and the
//       program's peak memory after MS of idling; then asks the window to close.
//   probe cpu --name NAME --expect picture|black [--seconds S] [--xserver-pid PID]
//             -- PROGRAM [ARGS...]
//       the CPU time the program takes over S seconds, a second after its first frame.
//   probe flight --name NAME [--counts FILE] [--seconds S] [--xserver-pid PID] [--shot PREFIX]
//                -- PROGRAM [ARGS...]
//       goes through the opening, flies S seconds with a bot that beats the wings when the hero
//       is low, and measures the CPU time and the time from each button press to the frame
//       that shows the new distance. With --counts, PROGRAM is the counting copy of the game
//       writing FILE when it ends: the paints and timer ticks within the S seconds are taken
//       from it.
//
// Results are printed as key=value lines. Every time is taken from the monotonic clock, which
// the counting game uses too.

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <dirent.h>
#include <signal.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "x_session.h"

namespace {

using Clock = std::chrono::steady_clock;

std::int64_t micros(Clock::time_point t) {
  return std::chrono::duration_cast<std::chrono::microseconds>(t.time_since_epoch()).count();
}

double msBetween(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

void sleepMs(double ms) {
  std::this_thread::sleep_for(std::chrono::microseconds(static_cast<std::int64_t>(ms * 1000)));
}

[[noreturn]] void die(const std::string& message) {
  std::fprintf(stderr, "probe: %s\n", message.c_str());
  std::exit(1);
}

// What the root window shows where no program has painted yet: a colour that neither the game
// nor the bare window ever paints, so that a frame of theirs cannot be mistaken for it.
constexpr unsigned long kUnpainted = 0x20A020;

struct Rgb {
  int r = 0;
  int g = 0;
  int b = 0;
  [[nodiscard]] bool black() const { return r + g + b < 24; }
  [[nodiscard]] bool white() const { return std::min({r, g, b}) > 200; }
  [[nodiscard]] bool unpainted() const {
    return std::abs(r - 0x20) < 8 && std::abs(g - 0xA0) < 8 && std::abs(b - 0x20) < 8;
  }
};

// A window that went away while the probe looked at it is answered as not shown (a shot that
// failed), never as a fatal error of the connection.
int ignoreError(Display* /*display*/, XErrorEvent* /*event*/) { return 0; }

// A piece of the screen as it is now.
class Shot {
 public:
  Shot(Display* d, bench::Geometry box) : box_(box) {
    image_ = XGetImage(d, DefaultRootWindow(d), box.x, box.y, static_cast<unsigned>(box.width),
                       static_cast<unsigned>(box.height), AllPlanes, ZPixmap);
  }
  Shot(const Shot&) = delete;
  Shot& operator=(const Shot&) = delete;
  Shot(Shot&&) = delete;
  Shot& operator=(Shot&&) = delete;
  ~Shot() {
    if (image_ != nullptr) {
      XDestroyImage(image_);
    }
  }

  [[nodiscard]] bool ok() const { return image_ != nullptr; }
  [[nodiscard]] int width() const { return box_.width; }
  [[nodiscard]] int height() const { return box_.height; }
  // In the shot's own coordinates.
  [[nodiscard]] Rgb at(int x, int y) const {
    const unsigned long p = XGetPixel(image_, x, y);
    return {static_cast<int>((p >> 16) & 0xff), static_cast<int>((p >> 8) & 0xff),
            static_cast<int>(p & 0xff)};
  }

  void savePpm(const std::string& path) const {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << box_.width << " " << box_.height << "\n255\n";
    for (int y = 0; y < box_.height; ++y) {
      for (int x = 0; x < box_.width; ++x) {
        const Rgb c = at(x, y);
        out.put(static_cast<char>(c.r)).put(static_cast<char>(c.g)).put(static_cast<char>(c.b));
      }
    }
  }

 private:
  bench::Geometry box_;
  XImage* image_ = nullptr;
};

void paintRootUnpainted(Display* d) {
  XSetWindowBackground(d, DefaultRootWindow(d), kUnpainted);
  XClearWindow(d, DefaultRootWindow(d));
  XSync(d, False);
}

// ---- the program under test --------------------------------------------------------------

struct Program {
  pid_t pid = -1;
  Clock::time_point launched;
};

Program launch(char** argv) {
  Program program;
  program.launched = Clock::now();
  program.pid = fork();
  if (program.pid < 0) {
    die("fork failed");
  }
  if (program.pid == 0) {
    execvp(argv[0], argv);
    std::perror("probe: exec");
    _exit(127);
  }
  return program;
}

// The exit status, or -1 when the program had to be killed.
int awaitExit(const Program& program, double timeoutMs) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(static_cast<int>(timeoutMs));
  int status = 0;
  while (Clock::now() < deadline) {
    if (waitpid(program.pid, &status, WNOHANG) == program.pid) {
      return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    sleepMs(5);
  }
  kill(program.pid, SIGKILL);
  waitpid(program.pid, &status, 0);
  return -1;
}

// User plus system CPU time of the whole process, all its threads, in seconds.
double cpuSeconds(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  std::getline(in, line);
  const auto close = line.rfind(')');
  if (close == std::string::npos) {
    return 0;
  }
  std::istringstream fields(line.substr(close + 2));
  std::string field;
  long long utime = 0;
  long long stime = 0;
  // After the name: state is field 3 of stat, utime 14, stime 15.
  for (int i = 3; i <= 15 && fields >> field; ++i) {
    if (i == 14) {
      utime = std::stoll(field);
    } else if (i == 15) {
      stime = std::stoll(field);
    }
  }
  return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// On-CPU time of every thread the process has now, in milliseconds, to the nanosecond.
double threadsCpuMs(pid_t pid) {
  const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
  double ms = 0;
  if (DIR* dir = opendir(tasks.c_str()); dir != nullptr) {
    while (const dirent* entry = readdir(dir)) {
      if (entry->d_name[0] == '.') {
        continue;
      }
      std::ifstream in(tasks + "/" + entry->d_name + "/schedstat");
      double ns = 0;
      if (in >> ns) {
        ms += ns / 1e6;
      }
    }
    closedir(dir);
  }
  return ms;
}

long statusKb(pid_t pid, const std::string& key) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind(key + ":", 0) == 0) {
      return std::atol(line.c_str() + key.size() + 1);
    }
  }
  return 0;
}

// ---- looking at the window ---------------------------------------------------------------

enum class Expect { Picture, Black };

// Fifteen points over the lower four fifths of the window, well below any menu bar.
bool showsExpected(Display* d, const bench::Geometry& window, Expect expect) {
  int matching = 0;
  int total = 0;
  for (const int row : {40, 60, 80}) {
    const Shot line(d, {window.x, window.y + window.height * row / 100, window.width, 1});
    if (!line.ok()) {
      return false;
    }
    for (const int column : {10, 30, 50, 70, 90}) {
      const Rgb c = line.at(window.width * column / 100, 0);
      ++total;
      if (expect == Expect::Black ? (c.r == 0 && c.g == 0 && c.b == 0)
                                  : (!c.black() && !c.unpainted())) {
        ++matching;
      }
    }
  }
  // A picture may have a dark corner or a star; a painted colour is the same everywhere.
  return expect == Expect::Black ? matching == total : matching >= total - 2;
}

struct FirstFrame {
  Window window = 0;
  bench::Geometry box;
  double mappedMs = 0;
  double frameMs = 0;
  double cpuMs = 0;  // spent by the program up to that frame
  // Looks at the mapped window before it showed the frame: more than none proves that the
  // frame seen was painted by the program, not left there by the server.
  int unpaintedLooks = 0;
};

FirstFrame awaitFirstFrame(const bench::XSession& session, const Program& program,
                           const std::string& name, Expect expect, double timeoutMs) {
  FirstFrame first;
  std::optional<Window> w;
  while (msBetween(program.launched, Clock::now()) < timeoutMs) {
    if (!w) {
      w = session.findNamed(name);
      const auto geometry = w ? session.geometry(*w) : std::nullopt;
      if (geometry) {
        first.window = *w;
        first.mappedMs = msBetween(program.launched, Clock::now());
        first.box = *geometry;
      } else {
        w.reset();
      }
    }
    if (w && showsExpected(session.display(), first.box, expect)) {
      first.frameMs = msBetween(program.launched, Clock::now());
      first.cpuMs = threadsCpuMs(program.pid);
      return first;
    }
    first.unpaintedLooks += w ? 1 : 0;
    if (waitpid(program.pid, nullptr, WNOHANG) == program.pid) {
      die("the program ended before its first frame");
    }
    sleepMs(2);
  }
  kill(program.pid, SIGKILL);
  waitpid(program.pid, nullptr, 0);
  die(w ? "the window never showed the expected frame" : "no window named " + name);
}

// ---- options -----------------------------------------------------------------------------

struct Options {
  std::map<std::string, std::string> values;
  char** program = nullptr;

  [[nodiscard]] std::string get(const std::string& key, const std::string& fallback = "") const {
    const auto it = values.find(key);
    return it == values.end() ? fallback : it->second;
  }
};

Options parse(int argc, char** argv) {
  Options options;
  for (int i = 2; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--") {
      options.program = argv + i + 1;
      break;
    }
    if (arg.rfind("--", 0) != 0 || i + 1 >= argc) {
      die("bad option " + arg);
    }
    options.values[arg.substr(2)] = argv[++i];
  }
  if (options.program == nullptr || options.program[0] == nullptr) {
    die("no program given after --");
  }
  return options;
}

// ---- start-up ----------------------------------------------------------------------------

int startup(bench::XSession& session, const Options& options) {
  Display* d = session.display();
  const std::string name = options.get("name");
  const Expect expect = options.get("expect") == "black" ? Expect::Black : Expect::Picture;
  const double settleMs = std::atof(options.get("settle-ms", "1000").c_str());

  paintRootUnpainted(d);
  const Program program = launch(options.program);
  const FirstFrame first = awaitFirstFrame(session, program, name, expect, 30000);
  if (const std::string shot = options.get("shot"); !shot.empty()) {
    Shot(d, first.box).savePpm(shot);
  }
  sleepMs(settleMs);
  const long hwm = statusKb(program.pid, "VmHWM");
  const long rss = statusKb(program.pid, "VmRSS");
  session.requestClose(first.window);
  const int status = awaitExit(program, 10000);

  std::printf("mapped_ms=%.1f\nstartup_ms=%.1f\nunpainted_looks=%d\n", first.mappedMs,
              first.frameMs, first.unpaintedLooks);
  std::printf("cpu_ms_to_frame=%.1f\nhwm_kb=%ld\nrss_kb=%ld\nexit=%d\n", first.cpuMs, hwm, rss,
              status);
  return status == 0 ? 0 : 1;
}

// ---- a program left to itself -----------------------------------------------------------

int cpu(bench::XSession& session, const Options& options) {
  Display* d = session.display();
  const std::string name = options.get("name");
  const Expect expect = options.get("expect") == "black" ? Expect::Black : Expect::Picture;
  const double seconds = std::atof(options.get("seconds", "20").c_str());
  const std::string xserver = options.get("xserver-pid");

  paintRootUnpainted(d);
  const Program program = launch(options.program);
  const FirstFrame first = awaitFirstFrame(session, program, name, expect, 30000);
  sleepMs(1000);
  const auto t0 = Clock::now();
  const double cpu0 = cpuSeconds(program.pid);
  const double xcpu0 = xserver.empty() ? 0 : cpuSeconds(std::atoi(xserver.c_str()));
  sleepMs(seconds * 1000);
  const double cpu1 = cpuSeconds(program.pid);
  const double xcpu1 = xserver.empty() ? 0 : cpuSeconds(std::atoi(xserver.c_str()));
  const double window = msBetween(t0, Clock::now()) / 1000.0;
  const long hwm = statusKb(program.pid, "VmHWM");
  session.requestClose(first.window);
  const int status = awaitExit(program, 10000);
  std::printf("cpu_s=%.3f\ncpu_percent=%.2f\n", cpu1 - cpu0, 100.0 * (cpu1 - cpu0) / window);
  if (!xserver.empty()) {
    std::printf("xserver_cpu_s=%.3f\n", xcpu1 - xcpu0);
  }
  std::printf("hwm_kb=%ld\nexit=%d\n", hwm, status);
  return status == 0 ? 0 : 1;
}

// ---- the flight --------------------------------------------------------------------------

struct Client {
  bench::Geometry window;
  int top = 0;  // screen y of the client area's first row, below the menu bar
  int height = 0;

  [[nodiscard]] bench::Geometry units(int left, int top_, int width, int height_) const {
    return {window.x + window.width * left / 100, top + height * top_ / 100,
            window.width * width / 100, height * height_ / 100};
  }
};

// The menu bar is light and the title's sky dark: the client area starts at the first dark
// rows near the right edge, where no menu title stands.
Client findClient(Display* d, const bench::Geometry& window) {
  Client client{window, window.y, window.height};
  const Shot column(d, {window.x + window.width - 8, window.y, 4, window.height / 4});
  if (!column.ok()) {
    return client;
  }
  int dark = 0;
  for (int y = 0; y < column.height(); ++y) {
    const Rgb c = column.at(0, y);
    dark = std::max({c.r, c.g, c.b}) < 120 ? dark + 1 : 0;
    if (dark == 3) {
      client.top = window.y + y - 2;
      client.height = window.y + window.height - client.top;
      break;
    }
  }
  return client;
}

// The pixels of the distance: the label's white text at the top left of the client area.
std::vector<bool> distanceMask(Display* d, const bench::Geometry& region) {
  const Shot shot(d, region);
  std::vector<bool> mask;
  if (!shot.ok()) {
    return mask;
  }
  mask.reserve(static_cast<std::size_t>(region.width) * static_cast<std::size_t>(region.height));
  for (int y = 0; y < region.height; ++y) {
    for (int x = 0; x < region.width; ++x) {
      mask.push_back(shot.at(x, y).white());
    }
  }
  return mask;
}

int differing(const std::vector<bool>& a, const std::vector<bool>& b) {
  if (a.size() != b.size()) {
    return static_cast<int>(std::max(a.size(), b.size()));
  }
  int n = 0;
  for (std::size_t i = 0; i < a.size(); ++i) {
    n += a[i] != b[i] ? 1 : 0;
  }
  return n;
}

// The hero is the only white thing in his column below the distance; his top in units, or
// nothing when he is not to be seen there.
std::optional<double> heroTop(Display* d, const Client& client) {
  const bench::Geometry strip = client.units(0, 15, 8, 85);
  const Shot shot(d, strip);
  if (!shot.ok()) {
    return std::nullopt;
  }
  for (int y = 0; y < shot.height(); ++y) {
    int white = 0;
    for (int x = 0; x < shot.width(); ++x) {
      white += shot.at(x, y).white() ? 1 : 0;
    }
    if (white >= 2) {
      return (strip.y + y - client.top) * 100.0 / client.height;
    }
  }
  return std::nullopt;
}

// One frame of a 60 Hz display.
constexpr std::int64_t kFrameUs = 16666;

struct FrameCounts {
  int paints = 0;
  int wakes = 0;
  int unchangedPaints = 0;
  int gapsUnderFrame = 0;
  double shortestGapMs = 0;
  std::map<std::string, int> ticks;
};

// The paints, ticks and wake-ups the game recorded between two moments of the monotonic clock.
FrameCounts countFrames(const std::string& path, std::int64_t fromUs, std::int64_t toUs) {
  std::ifstream in(path);
  if (!in) {
    die("no counts in " + path + " (was the program counting_game --counts " + path + "?)");
  }
  FrameCounts counts;
  std::map<std::uint64_t, std::string> timers;
  std::optional<std::uint64_t> lastRevision;
  std::optional<std::int64_t> lastPaintUs;
  std::optional<std::int64_t> shortestUs;
  std::string kind;
  while (in >> kind) {
    if (kind == "timer") {
      std::uint64_t index = 0;
      std::string name;
      in >> index >> name;
      timers[index] = name;
      counts.ticks[name] = 0;
      continue;
    }
    std::int64_t at = 0;
    std::uint64_t value = 0;
    in >> at >> value;
    const bool inside = at >= fromUs && at <= toUs;
    if (kind == "tick") {
      if (inside) {
        ++counts.ticks[timers[value]];
      }
      continue;
    }
    if (kind == "wake") {
      counts.wakes += inside ? 1 : 0;
      continue;
    }
    if (inside) {
      ++counts.paints;
      if (lastRevision && *lastRevision == value) {
        ++counts.unchangedPaints;
      }
      if (lastPaintUs && *lastPaintUs >= fromUs) {
        const std::int64_t gap = at - *lastPaintUs;
        shortestUs = shortestUs ? std::min(*shortestUs, gap) : gap;
        counts.gapsUnderFrame += gap < kFrameUs ? 1 : 0;
      }
    }
    lastRevision = value;
    lastPaintUs = at;
  }
  counts.shortestGapMs = shortestUs ? static_cast<double>(*shortestUs) / 1000.0 : 0;
  return counts;
}

double percentile(std::vector<double> values, double p) {
  if (values.empty()) {
    return 0;
  }
  std::sort(values.begin(), values.end());
  const auto index =
      static_cast<std::size_t>(std::lround(p * static_cast<double>(values.size() - 1)));
  return values[std::min(index, values.size() - 1)];
}

bool mostlyBlack(Display* d, const Client& client) {
  int black = 0;
  int total = 0;
  for (const int row : {30, 50, 70, 90}) {
    const bench::Geometry line = client.units(0, row, 100, 1);
    const Shot shot(d, {line.x, line.y, line.width, 1});
    if (!shot.ok()) {
      return false;
    }
    for (const int column : {15, 30, 45, 60, 75, 90}) {
      ++total;
      black += shot.at(shot.width() * column / 100, 0).black() ? 1 : 0;
    }
  }
  return black * 3 >= total * 2;
}

int flight(bench::XSession& session, const Options& options) {
  Display* d = session.display();
  const std::string name = options.get("name");
  const std::string countsPath = options.get("counts");
  const double seconds = std::atof(options.get("seconds", "20").c_str());
  const std::string xserver = options.get("xserver-pid");
  const std::string shots = options.get("shot");

  paintRootUnpainted(d);
  const Program program = launch(options.program);
  const FirstFrame first = awaitFirstFrame(session, program, name, Expect::Picture, 30000);
  sleepMs(300);
  const Client client = findClient(d, first.box);
  const int cx = client.window.x + client.window.width / 2;
  const int cy = client.top + client.height * 3 / 5;

  // Two pages of the opening, then the flight.
  for (int page = 0; page < 2; ++page) {
    session.click(cx, cy);
    sleepMs(500);
  }
  session.click(cx, cy);
  const auto started = Clock::now();
  while (!mostlyBlack(d, client)) {
    if (msBetween(started, Clock::now()) > 3000) {
      die("the flight did not start");
    }
    sleepMs(5);
  }
  if (!shots.empty()) {
    Shot(d, first.box).savePpm(shots + "-flight-start.ppm");
  }

  const bench::Geometry distance = client.units(0, 0, 30, 10);
  const auto t0 = Clock::now();
  const double cpu0 = cpuSeconds(program.pid);
  const double xcpu0 = xserver.empty() ? 0 : cpuSeconds(std::atoi(xserver.c_str()));
  const auto end = t0 + std::chrono::milliseconds(static_cast<int>(seconds * 1000));

  std::vector<double> latencies;
  int clicks = 0;
  int unanswered = 0;
  double lowest = 0;
  while (Clock::now() < end) {
    const auto top = heroTop(d, client);
    if (top) {
      lowest = std::max(lowest, *top);
    }
    if (!top || *top < 65) {
      sleepMs(4);
      continue;
    }
    const std::vector<bool> before = distanceMask(d, distance);
    const auto pressed = Clock::now();
    session.click(cx, cy);
    ++clicks;
    // Every second beat carries him one unit further: wait for the new distance, or for as
    // long as a beat that only moves the wings may take to show.
    bool seen = false;
    while (msBetween(pressed, Clock::now()) < 150) {
      if (differing(before, distanceMask(d, distance)) > 5) {
        latencies.push_back(msBetween(pressed, Clock::now()));
        seen = true;
        break;
      }
      sleepMs(1);
    }
    unanswered += seen ? 0 : 1;
  }
  const auto t1 = Clock::now();
  const double cpu1 = cpuSeconds(program.pid);
  const double xcpu1 = xserver.empty() ? 0 : cpuSeconds(std::atoi(xserver.c_str()));
  const std::vector<bool> lastDistance = distanceMask(d, distance);
  const bool stillFlying = mostlyBlack(d, client) &&
                           std::count(lastDistance.begin(), lastDistance.end(), true) > 5 &&
                           heroTop(d, client);
  if (!shots.empty()) {
    Shot(d, first.box).savePpm(shots + "-flight-end.ppm");
  }
  const long hwm = statusKb(program.pid, "VmHWM");
  session.requestClose(first.window);
  const int status = awaitExit(program, 10000);

  const double window = msBetween(t0, t1) / 1000.0;
  std::printf("client_top=%d\nclient_height=%d\n", client.top - client.window.y, client.height);
  std::printf("flight_s=%.2f\ncpu_s=%.3f\ncpu_percent=%.2f\n", window, cpu1 - cpu0,
              100.0 * (cpu1 - cpu0) / window);
  if (!xserver.empty()) {
    std::printf("xserver_cpu_s=%.3f\n", xcpu1 - xcpu0);
  }
  if (!countsPath.empty()) {
    const FrameCounts frames = countFrames(countsPath, micros(t0), micros(t1));
    std::printf("paints=%d\npaints_per_s=%.2f\nunchanged_paints=%d\nshortest_gap_ms=%.2f\n",
                frames.paints, frames.paints / window, frames.unchangedPaints,
                frames.shortestGapMs);
    std::printf("gaps_under_frame=%d\nwakes=%d\nwakes_per_s=%.2f\n", frames.gapsUnderFrame,
                frames.wakes, frames.wakes / window);
    int ticks = 0;
    for (const auto& [timer, n] : frames.ticks) {
      std::printf("ticks_%s=%d\nticks_%s_per_s=%.2f\n", timer.c_str(), n, timer.c_str(),
                  n / window);
      ticks += n;
    }
    std::printf("ticks=%d\nticks_per_s=%.2f\n", ticks, ticks / window);
  }
  std::printf("clicks=%d\nlatency_samples=%zu\nunanswered_clicks=%d\n", clicks, latencies.size(),
              unanswered);
  std::printf("latency_median_ms=%.1f\nlatency_p90_ms=%.1f\nlatency_max_ms=%.1f\n",
              percentile(latencies, 0.5), percentile(latencies, 0.9), percentile(latencies, 1.0));
  std::printf("lowest_hero_top=%.1f\nstill_flying=%d\nhwm_kb=%ld\nexit=%d\n", lowest,
              stillFlying ? 1 : 0, hwm, status);
  return status == 0 && stillFlying ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: probe startup|cpu|flight OPTIONS -- PROGRAM [ARGS...]\n");
    return 2;
  }
  const Options options = parse(argc, argv);
  std::optional<bench::XSession> opened;
  try {
    opened.emplace();
  } catch (const std::exception& error) {
    die(error.what());
  }
  bench::XSession& session = *opened;
  XSetErrorHandler(ignoreError);
  const std::string command = argv[1];
  int status = 2;
  if (command == "startup") {
    status = startup(session, options);
  } else if (command == "cpu") {
    status = cpu(session, options);
  } else if (command == "flight") {
    status = flight(session, options);
  } else {
    std::fprintf(stderr, "probe: unknown command %s\n", command.c_str());
  }
  return status;
}
