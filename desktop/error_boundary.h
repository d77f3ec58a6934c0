#pragma once
// The one door through which the desktop calls into the game. A run-time error that comes out of
// the game is shown to the player in a box titled with the game's name, the ranking entered so
// far is kept, and the program ends; nothing calls into the game after that.

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
  explicit ErrorBoundary(FOM& form) : form_(form) {}

  // Runs one call into the game. False when it failed, or when an earlier call had failed and
  // this one was therefore not made.
  bool run(const std::function<void()>& call);
  [[nodiscard]] bool failed() const { return failed_; }

  void setParentWindow(QWidget* window) { parent_ = window; }
  // Before the error box opens: nothing may tick behind it.
  std::function<void()> onFailure;
  // After every call that went through: the window shows what the call changed.
  std::function<void()> afterCall;
  // Ends the program once the box is closed and the ranking saved.
  std::function<void(int status)> endProgram = endProgramAfterError;

  static void endProgramAfterError(int status);

 private:
  void fail(const std::string& message);
  void report(const std::string& message);

  FOM& form_;
  QPointer<QWidget> parent_;
  bool failed_ = false;
};

}  // namespace pirune::desktop
