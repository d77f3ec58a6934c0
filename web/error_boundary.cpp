#include "error_boundary.h"

#include <exception>

#include "game/app_title.h"
#include "game/runtime_error.h"
#include "page.h"
#include "utf16.h"

namespace pirune::web {

void reportError(const std::string& message) {
  page::messageBox(kAppTitle, utf16FromUtf8(message));
}

bool ErrorBoundary::run(const std::function<void()>& call) {
  if (failed_) {
    return false;
  }
  if (pending_) {
    fail(*pending_);
    return false;
  }
  // The box is shown once the error has been caught and left behind: the page's box waits for
  // the player, which is no place to hold an exception in flight.
  std::optional<std::string> error;
  try {
    call();
  } catch (const RuntimeError& caught) {
    error = caught.what();
  } catch (const std::exception& caught) {
    error = std::string("予期しないエラーが起きました: ") + caught.what();
  }
  if (error) {
    fail(*error);
    return false;
  }
  return true;
}

void ErrorBoundary::failLater(const std::string& message) {
  if (!pending_) {
    pending_ = message;
  }
}

void ErrorBoundary::fail(const std::string& message) {
  failed_ = true;
  reportError(message);
  std::optional<std::string> saveError;
  try {
    saveRanking_();
  } catch (const std::exception& caught) {
    saveError = caught.what();
  }
  if (saveError) {
    reportError(*saveError);
  }
  page::gameEnded();
}

}  // namespace pirune::web
