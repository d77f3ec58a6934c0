#pragma once
// Catches a run-time error that comes out of the game and reports it: the player sees it in a
// box titled with the game's name, the ranking entered so far is kept, and the program ends.
// After an error nothing calls into the game any more.

#include <QPointer>
#include <QWidget>
#include <functional>
#include <string>

namespace pirune {
class FOM;
}

namespace pirune::desktop {

inline constexpr int kFailureStatus = 1;

class ErrorBoundary {
 public:
  ErrorBoundary(FOM& form, QWidget* window) : form_(form), window_(window) {}

  // Runs one call into the game. False when it failed, or when an earlier call had failed and
  // this one was therefore not made.
  bool run(const std::function<void()>& call);
  [[nodiscard]] bool failed() const { return failed_; }

  // Ends the program once the box is closed and the ranking saved; the tests end nothing.
  std::function<void(int status)> endProgram = [this](int status) { endProgramAfterError(status); };
  void endProgramAfterError(int status);

 private:
  void fail(const std::string& message);
  void report(const std::string& message);

  FOM& form_;
  QPointer<QWidget> window_;
  bool failed_ = false;
};

}  // namespace pirune::desktop
