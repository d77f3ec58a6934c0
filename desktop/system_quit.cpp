#include "system_quit.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <stdexcept>

namespace pirune::desktop {

namespace {

constexpr std::array kQuitSignals{SIGTERM, SIGINT, SIGHUP};

// Read end, write end. Global because a signal handler can reach nothing else.
std::array<int, 2> quitPipe{-1, -1};

extern "C" void onQuitSignal(int /*signal*/) {
  const int saved = errno;
  const char request = 'q';
  // A full pipe already holds a request; one is as good as many.
  [[maybe_unused]] const ssize_t written = ::write(quitPipe[1], &request, 1);
  errno = saved;
}

}  // namespace

SystemQuit::SystemQuit() {
  if (quitPipe[0] >= 0) {
    throw std::logic_error("the system's requests to quit are already caught");
  }
  if (::pipe2(quitPipe.data(), O_CLOEXEC | O_NONBLOCK) != 0) {
    throw std::runtime_error("no pipe for the system's requests to quit");
  }
  notifier_ = std::make_unique<QSocketNotifier>(quitPipe[0], QSocketNotifier::Read);
  struct sigaction action {};
  action.sa_handler = onQuitSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (const int signal : kQuitSignals) {
    ::sigaction(signal, &action, nullptr);
  }
}

SystemQuit::~SystemQuit() {
  for (const int signal : kQuitSignals) {
    std::signal(signal, SIG_DFL);
  }
  notifier_.reset();
  for (int& end : quitPipe) {
    ::close(end);
    end = -1;
  }
}

void SystemQuit::takeRequests() {
  std::array<char, 64> requests{};
  while (::read(quitPipe[0], requests.data(), requests.size()) > 0) {
  }
}

}  // namespace pirune::desktop
