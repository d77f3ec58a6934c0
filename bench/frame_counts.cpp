// Linked with the game's own main.cpp into counting_game, the benchmark's copy of the game:
// the same program that players run, which also counts what its window does. Every paint of
// the client area (with the model's revision, so that a paint with nothing changed shows), every
// tick of the game's three timers, and every wake-up of the window's own system timers (the one
// the session arms, and the client area's frame timer) is noted with the time of the monotonic
// clock, which the probe reads too, and written when the game ends to the file named on the
// command line:
//
//   counting_game --counts FILE
//
// Nothing here is part of the program a player runs: it attaches itself from outside, through
// an event filter on the whole application, when the game window is first shown.

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "game_window.h"

namespace {

// Some hours of a flight; a forgotten run must not grow without end.
constexpr std::size_t kMaxEvents = 1'000'000;

class FrameCounts : public QObject {
 public:
  explicit FrameCounts(std::string path) : path_(std::move(path)) { events_.reserve(8192); }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && window_ != nullptr &&
        watched == window_->centralWidget()) {
      note(window_->form().window.revision(), Kind::Paint);
    } else if (event->type() == QEvent::Timer && window_ != nullptr && isWindowTimer(watched)) {
      note(0, Kind::Wake);
    } else if (event->type() == QEvent::Show && window_ == nullptr) {
      // Before the window's own show handler, so before the game's activation starts a timer.
      if (auto* window = dynamic_cast<pirune::desktop::GameWindow*>(watched)) {
        attach(*window);
      }
    }
    return false;
  }

  void write() const {
    std::FILE* file = std::fopen(path_.c_str(), "w");
    if (file == nullptr) {
      std::perror(path_.c_str());
      return;
    }
    for (std::size_t i = 0; i < timerNames_.size(); ++i) {
      std::fprintf(file, "timer %zu %s\n", i, timerNames_[i].c_str());
    }
    for (const Event& event : events_) {
      std::fprintf(file, "%s %lld %llu\n", kindName(event.kind),
                   static_cast<long long>(event.micros),
                   static_cast<unsigned long long>(event.value));
    }
    std::fclose(file);
  }

 private:
  enum class Kind { Paint, Tick, Wake };
  static const char* kindName(Kind kind) {
    switch (kind) {
      case Kind::Paint: return "paint";
      case Kind::Tick: return "tick";
      case Kind::Wake: return "wake";
    }
    return "?";
  }
  struct Event {
    std::int64_t micros;
    std::uint64_t value;  // the model's revision for a paint, the timer's index for a tick
    Kind kind;
  };

  // The system timers that wake the game: the window's and its client area's.
  [[nodiscard]] bool isWindowTimer(const QObject* watched) const {
    return qobject_cast<const QTimer*>(watched) != nullptr &&
           (watched->parent() == window_ || watched->parent() == window_->centralWidget());
  }

  void attach(pirune::desktop::GameWindow& window) {
    window_ = &window;
    pirune::FOM& form = window.form();
    for (pirune::Timer* timer : {&form.MMCTIM, &form.piruneTIM, &form.SHPTIM}) {
      const std::uint64_t index = timerNames_.size();
      timerNames_.push_back(timer->name());
      timer->onTick = [this, index, tick = timer->onTick] {
        note(index, Kind::Tick);
        if (tick) {
          tick();
        }
      };
    }
  }

  void note(std::uint64_t value, Kind kind) {
    if (events_.size() < kMaxEvents) {
      const auto now = std::chrono::steady_clock::now().time_since_epoch();
      events_.push_back(
          {std::chrono::duration_cast<std::chrono::microseconds>(now).count(), value, kind});
    }
  }

  std::string path_;
  pirune::desktop::GameWindow* window_ = nullptr;
  std::vector<std::string> timerNames_;
  std::vector<Event> events_;
};

// Runs inside the constructor of the game's QApplication.
void startCounting() {
  const QStringList arguments = QCoreApplication::arguments();
  const auto at = arguments.indexOf(QStringLiteral("--counts"));
  if (at < 0 || at + 1 >= arguments.size()) {
    std::fprintf(stderr, "counting_game: usage: counting_game --counts FILE\n");
    return;
  }
  auto* counts = new FrameCounts(arguments[at + 1].toStdString());
  counts->setParent(QCoreApplication::instance());
  QCoreApplication::instance()->installEventFilter(counts);
  QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, counts,
                   [counts] { counts->write(); });
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(startCounting)
