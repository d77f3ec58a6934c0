#pragma once
// The system's requests to quit, SIGTERM at logout or shutdown, SIGINT from a terminal, SIGHUP
// when the terminal goes away, reach the event loop as activations of a socket notifier. The
// signal handler writes one byte to a pipe and does nothing else.

#include <QSocketNotifier>
#include <memory>

namespace pirune::desktop {

class SystemQuit {
 public:
  // Catches the three signals for as long as it lives; one at a time per program.
  SystemQuit();
  SystemQuit(const SystemQuit&) = delete;
  SystemQuit& operator=(const SystemQuit&) = delete;
  SystemQuit(SystemQuit&&) = delete;
  SystemQuit& operator=(SystemQuit&&) = delete;
  ~SystemQuit();

  // Activated when a request has come; takeRequests() then empties the pipe.
  [[nodiscard]] QSocketNotifier& notifier() { return *notifier_; }
  void takeRequests();

 private:
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace pirune::desktop
