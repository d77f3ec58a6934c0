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

// What ends the program once an error has been reported and the ranking saved.
using EndProgram = std::function<void(int status)>;

class ErrorBoundary {
 public:
  // Without `endProgram` the program itself ends; the tests bring one that only notes it.
  ErrorBoundary(FOM& form, QWidget* window, EndProgram endProgram);

  // Runs one call into the game. False when it failed, or when an earlier call had failed and
  // this one was therefore not made.
  bool run(const std::function<void()>& call);
  [[nodiscard]] bool failed() const { return failed_; }

 private:
  void endProgram(int status);
  void fail(const std::string& message);
  void report(const std::string& message);

  FOM& form_;
  QPointer<QWidget> window_;
  EndProgram endProgram_;
  bool failed_ = false;
};

}  // namespace pirune::desktop
