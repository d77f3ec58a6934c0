// ピルネノ翼 in the browser: what the page calls. The page delivers one call into the game at a
// time and waits for page.callFinished() before the next; only painting and keeping the
// ranking may come while a box is open.

#include <emscripten.h>

#include <exception>
#include <memory>
#include <optional>

#include "error_boundary.h"
#include "page.h"
#include "web_platform.h"
#include "web_shell.h"

namespace {

std::unique_ptr<pirune::web::WebShell> shell;

// The page's numbers of the mouse buttons.
std::optional<pirune::MouseButton> gameButton(int button) {
  switch (button) {
    case 0: return pirune::MouseButton::Left;
    case 1: return pirune::MouseButton::Middle;
    case 2: return pirune::MouseButton::Right;
    default: return std::nullopt;
  }
}

template <typename Call>
void callShell(Call call) {
  if (shell) {
    call(*shell);
  } else {
    pirune::web::page::callFinished();
  }
}

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE void pirune_offer_carried_pictures() { pirune::web::offerCarriedPictures(); }

EMSCRIPTEN_KEEPALIVE void pirune_start() {
  // Only the making of the window itself can fail out here; everything after it goes through
  // the shell's error boundary.
  std::optional<std::string> error;
  try {
    shell = std::make_unique<pirune::web::WebShell>();
  } catch (const std::exception& caught) {
    error = caught.what();
  }
  if (error) {
    pirune::web::reportError(*error);
    pirune::web::page::gameEnded();
    pirune::web::page::callFinished();
    return;
  }
  shell->start();
}

EMSCRIPTEN_KEEPALIVE void pirune_press(int button, int shift, double x, double y) {
  callShell([&](pirune::web::WebShell& s) {
    if (const auto game = gameButton(button)) {
      s.press(*game, static_cast<std::int16_t>(shift), static_cast<float>(x),
              static_cast<float>(y));
    } else {
      pirune::web::page::callFinished();
    }
  });
}

EMSCRIPTEN_KEEPALIVE void pirune_release(int button, double x, double y) {
  callShell([&](pirune::web::WebShell& s) {
    if (const auto game = gameButton(button)) {
      s.release(*game, static_cast<float>(x), static_cast<float>(y));
    } else {
      pirune::web::page::callFinished();
    }
  });
}

// lead: how early a tick may come, in milliseconds (see TimerScheduler::fireDue).
EMSCRIPTEN_KEEPALIVE void pirune_tick(int leadMs) {
  callShell([leadMs](pirune::web::WebShell& s) { s.tick(leadMs); });
}

EMSCRIPTEN_KEEPALIVE void pirune_menu(int id) {
  callShell([id](pirune::web::WebShell& s) { s.menu(id); });
}

EMSCRIPTEN_KEEPALIVE void pirune_offer_ranking() {
  callShell([](pirune::web::WebShell& s) { s.offerRanking(); });
}

EMSCRIPTEN_KEEPALIVE void pirune_download_ranking() {
  callShell([](pirune::web::WebShell& s) { s.downloadRanking(); });
}

EMSCRIPTEN_KEEPALIVE void pirune_keep_ranking() {
  if (shell) {
    shell->keepRanking();
  }
}

// 1 when the window painted is the one the game's start left; 0 before (while the start waits
// for the title picture, say).
EMSCRIPTEN_KEEPALIVE int pirune_paint(double width, double height, double pixelRatio,
                                      double pointPixels) {
  return shell && shell->paint({width, height, pixelRatio, pointPixels}) ? 1 : 0;
}

}  // extern "C"
