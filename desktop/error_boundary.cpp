#include "error_boundary.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <utility>

#include "game/form.h"
#include "game/runtime_error.h"

namespace pirune::desktop {

ErrorBoundary::ErrorBoundary(FOM& form, QWidget* window, EndProgram endProgram)
    : form_(form), window_(window), endProgram_(std::move(endProgram)) {}

bool ErrorBoundary::run(const std::function<void()>& call) {
  if (failed_) {
    return false;
  }
  try {
    call();
  } catch (const RuntimeError& error) {
    fail(error.what());
    return false;
  } catch (const std::exception& error) {
    fail(std::string("予期しないエラーが起きました: ") + error.what());
    return false;
  }
  return true;
}

void ErrorBoundary::report(const std::string& message) {
  QMessageBox::critical(window_, QString::fromStdU16String(kAppTitle),
                        QString::fromUtf8(message.c_str()));
}

void ErrorBoundary::fail(const std::string& message) {
  failed_ = true;
  report(message);
  try {
    form_.RANKING_SAVE();
  } catch (const std::exception& error) {
    report(error.what());
  }
  endProgram(kFailureStatus);
}

void ErrorBoundary::endProgram(int status) {
  if (endProgram_) {
    endProgram_(status);
    return;
  }
  // Inside a box of the game the procedure that opened it would go on once the box closed, so
  // the program ends right here; from the main loop it ends the ordinary way.
  if (form_.timers.modalOpen()) {
    std::fflush(nullptr);
    std::_Exit(status);
  }
  QCoreApplication::exit(status);
}

}  // namespace pirune::desktop
