// ピルネノ翼 in the browser: what the page calls. The page awaits each call into the game
// before it makes the next (a call may wait inside the game for a box or a picture); only
// painting, resizing and keeping the ranking may come while a box is open.

#include <emscripten.h>

#include <array>
#include <memory>
#include <string>

#include "web_platform.h"
#include "web_shell.h"

namespace {

std::unique_ptr<pirune::web::WebShell> shell;

// The started game's session, if there is one.
template <typename Event>
void toSession(Event event) {
  if (shell) {
    event(shell->session());
  }
}

// The game's mouse button for the page's number of a button (0 left, 1 middle, 2 right).
template <typename Event>
void withButton(int button, Event event) {
  using pirune::MouseButton;
  constexpr std::array kButtons{MouseButton::Left, MouseButton::Middle, MouseButton::Right};
  if (button >= 0 && button < static_cast<int>(kButtons.size())) {
    toSession(
        [&](pirune::HostSession& s) { event(s, kButtons.at(static_cast<std::size_t>(button))); });
  }
}

std::string bytesOf(const unsigned char* bytes, int length) {
  return length > 0
             ? std::string(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(length))
             : std::string();
}

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE void pirune_offer_carried_pictures() { pirune::web::offerCarriedPictures(); }

// `stored`: scr.dat's bytes as the browser's storage holds them (none: a first visit). Starts
// the game and shows its window: that is its one activation.
EMSCRIPTEN_KEEPALIVE void pirune_start(const unsigned char* stored, int length) {
  shell = std::make_unique<pirune::web::WebShell>(bytesOf(stored, length));
  if (shell->session().start()) {
    shell->session().activate();
  }
}

// At a pixel of the canvas, as pirune_resize last gave its size; the keys held, each 0 or 1.
EMSCRIPTEN_KEEPALIVE void pirune_press(int button, int shift, int ctrl, int alt, int x, int y) {
  withButton(button, [&](pirune::HostSession& s, pirune::MouseButton game) {
    s.press(game, pirune::HeldKeys{shift != 0, ctrl != 0, alt != 0}, x, y);
  });
}

EMSCRIPTEN_KEEPALIVE void pirune_release(int button, int x, int y) {
  withButton(button,
             [&](pirune::HostSession& s, pirune::MouseButton game) { s.release(game, x, y); });
}

// The page woke the game as it asked (page_arm_timer).
EMSCRIPTEN_KEEPALIVE void pirune_tick() {
  toSession([](pirune::HostSession& s) { s.tick(); });
}

EMSCRIPTEN_KEEPALIVE void pirune_escape() {
  toSession([](pirune::HostSession& s) { s.escape(); });
}

EMSCRIPTEN_KEEPALIVE void pirune_menu(int id) {
  toSession([id](pirune::HostSession& s) { s.menuCommand(id); });
}

EMSCRIPTEN_KEEPALIVE void pirune_offer_ranking(const unsigned char* bytes, int length) {
  if (shell) {
    shell->offerRanking(bytesOf(bytes, length));
  }
}

// A record file the player chose to watch (page_choose_flight_file).
EMSCRIPTEN_KEEPALIVE void pirune_watch(const unsigned char* bytes, int length) {
  toSession([&](pirune::HostSession& s) { s.watch(bytesOf(bytes, length)); });
}

// The world ranking's answers (page_world_token, page_world_send, page_world_show). `kind` of a
// sent flight: 0 placed at `rank`, 1 refused with the server's sentence, 2 no answer.
EMSCRIPTEN_KEEPALIVE void pirune_flight_token(const char* token) {
  toSession([&](pirune::HostSession& s) { s.flightTokenArrived(token); });
}

EMSCRIPTEN_KEEPALIVE void pirune_flight_sent(int kind, double rank, double distance,
                                             const char* sentence) {
  using Kind = pirune::WorldReply::Kind;
  constexpr std::array kKinds{Kind::Placed, Kind::Refused, Kind::Unreachable};
  const auto k =
      kind >= 0 && kind < 3 ? kKinds.at(static_cast<std::size_t>(kind)) : Kind::Unreachable;
  toSession([&](pirune::HostSession& s) {
    s.flightSent({k, static_cast<long long>(rank), static_cast<long long>(distance), sentence});
  });
}

EMSCRIPTEN_KEEPALIVE void pirune_world_unreachable() {
  toSession([](pirune::HostSession& s) { s.worldRankingUnreachable(); });
}

// The ranking as it stands now, stored: before the page goes away, and before the player takes
// the file.
EMSCRIPTEN_KEEPALIVE void pirune_keep_ranking() {
  toSession([](pirune::HostSession& s) { s.keepRanking(); });
}

// The browser refused to store the ranking: said once, and the game plays on.
EMSCRIPTEN_KEEPALIVE void pirune_storage_refused() {
  toSession([](pirune::HostSession& s) {
    s.tell(
        u"このブラウザーにはランキングを保存できませんでした。\n"
        u"このままタブを閉じると、この回のランキングは残りません。\n"
        u"「scr.dat を保存」で、ファイルとして残すことができます。");
  });
}

// The canvas: `width` by `height` device pixels, `pictureScale` device pixels per CSS pixel,
// `pointPixels` device pixels per point of the label's font.
EMSCRIPTEN_KEEPALIVE void pirune_resize(int width, int height, double pictureScale,
                                        double pointPixels) {
  toSession([&](pirune::HostSession& s) { s.resize({width, height, pictureScale, pointPixels}); });
}

EMSCRIPTEN_KEEPALIVE void pirune_paint() {
  if (shell) {
    shell->paintFrame();
  }
}

}  // extern "C"
