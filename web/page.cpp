#include "page.h"

#include <emscripten.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <utility>

// The bodies run inside the program's JavaScript, where Module.page is the page's half.
// Texts cross as UTF-16 code units, bytes as copies: nothing on the page keeps a view into the
// program's memory, which may move when it grows.

// clang-format off
EM_JS(void, pirune_page_call_finished, (), { Module.page.callFinished(); });
EM_JS(void, pirune_page_arm_timer, (double delay), { Module.page.armTimer(delay); });
EM_JS(void, pirune_page_request_frame, (), { Module.page.requestFrame(); });
EM_JS(void, pirune_page_game_ended, (), { Module.page.gameEnded(); });

EM_JS(void, pirune_page_fill_rect, (double x, double y, double w, double h, int r, int g, int b), {
  Module.page.fillRect(x, y, w, h, r, g, b);
});
EM_JS(void, pirune_page_draw_picture, (int id, double x, double y, double w, double h), {
  Module.page.drawPicture(id, x, y, w, h);
});
EM_JS(void, pirune_page_draw_text, (const char16_t* text, int length, double bx, double by,
                                    double bw, double bh, double cx, double cy, double cw,
                                    double ch, int r, int g, int b, int alignment, double px), {
  Module.page.drawText(Module.page.text16(HEAPU8.slice(text, text + 2 * length)),
                       bx, by, bw, bh, cx, cy, cw, ch, r, g, b, alignment, px);
});

EM_JS(void, pirune_page_offer_picture, (const char* name, const unsigned char* bytes, int length), {
  Module.page.offerPicture(UTF8ToString(name), HEAPU8.slice(bytes, bytes + length));
});
EM_JS(int, pirune_page_picture_now, (const char* name), {
  return Module.page.pictureNow(UTF8ToString(name));
});
EM_ASYNC_JS(int, pirune_page_picture_when_ready, (const char* name), {
  return await Module.page.pictureWhenReady(UTF8ToString(name));
});
EM_JS(int, pirune_page_picture_width, (int id), { return Module.page.pictureSize(id)[0]; });
EM_JS(int, pirune_page_picture_height, (int id), { return Module.page.pictureSize(id)[1]; });

// A box is opened, and the program then waits for its answer as a number (pirune_page_box_event).
EM_JS(void, pirune_page_open_message_box, (const char16_t* title, int titleLength,
                                           const char16_t* text, int textLength), {
  Module.page.awaitBox(
      Module.page.messageBox(Module.page.text16(HEAPU8.slice(title, title + 2 * titleLength)),
                             Module.page.text16(HEAPU8.slice(text, text + 2 * textLength)))
          .then(() => 0));
});
// The typed text waits on the page until pirune_page_take_answer copies it; -1 means cancelled.
EM_JS(void, pirune_page_open_input_box, (const char16_t* title, int titleLength,
                                         const char16_t* prompt, int promptLength), {
  Module.page.awaitBox(
      Module.page.inputBox(Module.page.text16(HEAPU8.slice(title, title + 2 * titleLength)),
                           Module.page.text16(HEAPU8.slice(prompt, prompt + 2 * promptLength)))
          .then((answer) => {
            Module.page.answer = answer;
            return answer === null ? -1 : answer.length;
          }));
});
EM_JS(void, pirune_page_take_answer, (char16_t* into), {
  const answer = Module.page.answer;
  for (let i = 0; i < answer.length; ++i) HEAPU16[(into >> 1) + i] = answer.charCodeAt(i);
  Module.page.answer = null;
});
EM_JS(void, pirune_page_open_confirm_box, (const char16_t* title, int titleLength,
                                           const char16_t* text, int textLength), {
  Module.page.awaitBox(
      Module.page.confirmBox(Module.page.text16(HEAPU8.slice(title, title + 2 * titleLength)),
                             Module.page.text16(HEAPU8.slice(text, text + 2 * textLength)))
          .then((ok) => (ok ? 1 : 0)));
});
// The open box's answer, or -2 when the game's timer fell due first.
EM_ASYNC_JS(int, pirune_page_box_event, (), { return await Module.page.boxEvent(); });

EM_JS(int, pirune_page_add_menu_item, (int parent, const char16_t* caption, int length,
                                       int checkable, int opensMenu), {
  return Module.page.addMenuItem(parent,
      Module.page.text16(HEAPU8.slice(caption, caption + 2 * length)), !!checkable, !!opensMenu);
});
EM_JS(void, pirune_page_show_menu_item, (int id, int checked, int enabled), {
  Module.page.showMenuItem(id, !!checked, !!enabled);
});

EM_JS(double, pirune_page_music_open, (const char* name), {
  return Module.page.musicOpen(UTF8ToString(name));
});
EM_JS(void, pirune_page_music_rewind, (), { Module.page.musicRewind(); });
EM_JS(void, pirune_page_music_play, (), { Module.page.musicPlay(); });
EM_JS(void, pirune_page_music_stop, (), { Module.page.musicStop(); });
EM_JS(void, pirune_page_music_close, (), { Module.page.musicClose(); });

// Bytes from the page wait there until pirune_page_take_bytes copies them.
EM_JS(int, pirune_page_stored_ranking, (), {
  Module.page.bytes = Module.page.storedRanking();
  return Module.page.bytes === null ? -1 : Module.page.bytes.length;
});
EM_JS(int, pirune_page_chosen_ranking, (), {
  Module.page.bytes = Module.page.chosenRanking();
  return Module.page.bytes.length;
});
EM_JS(void, pirune_page_take_bytes, (unsigned char* into), {
  HEAPU8.set(Module.page.bytes, into);
  Module.page.bytes = null;
});
EM_JS(void, pirune_page_store_ranking, (const unsigned char* bytes, int length), {
  Module.page.storeRanking(HEAPU8.slice(bytes, bytes + length));
});
EM_JS(void, pirune_page_download_ranking, (const unsigned char* bytes, int length), {
  Module.page.downloadRanking(HEAPU8.slice(bytes, bytes + length));
});

EM_JS(int, pirune_page_screen_height, (), { return Module.page.screenHeight(); });
EM_JS(int, pirune_page_window_side, (), { return Module.page.windowSide(); });
// clang-format on

namespace pirune::web::page {

namespace {

int lengthOf(const std::u16string& text) { return static_cast<int>(text.size()); }

auto bytesOf(const std::string& bytes) {
  return reinterpret_cast<const unsigned char*>(bytes.data());
}

std::function<void()>& timerDueInBox() {
  static std::function<void()> timerDue;
  return timerDue;
}

// Waits for the open box's answer. The game's timer may fall due meanwhile: the timers that a
// box does not hold (the music's loop) tick then, as the desktop's tick behind its boxes.
int answerOfBox() {
  constexpr int kTimerDue = -2;
  int answer = kTimerDue;
  while (answer == kTimerDue) {
    if (timerDueInBox()) {
      timerDueInBox()();
    }
    answer = pirune_page_box_event();
  }
  return answer;
}

std::string takeBytes(int length) {
  std::string bytes(static_cast<std::size_t>(std::max(length, 0)), '\0');
  pirune_page_take_bytes(reinterpret_cast<unsigned char*>(bytes.data()));
  return bytes;
}

}  // namespace

void callFinished() { pirune_page_call_finished(); }

void armTimer(std::int64_t delayMs) { pirune_page_arm_timer(static_cast<double>(delayMs)); }

void requestFrame() { pirune_page_request_frame(); }

void gameEnded() { pirune_page_game_ended(); }

void fillRect(const PixelRect& rect, Color color) {
  pirune_page_fill_rect(rect.left, rect.top, rect.width, rect.height, color.red, color.green,
                        color.blue);
}

void drawPicture(int id, const PixelRect& target) {
  pirune_page_draw_picture(id, target.left, target.top, target.width, target.height);
}

void drawText(const std::u16string& text, const PixelRect& box, const PixelRect& clip, Color color,
              Alignment alignment, double fontPixels) {
  pirune_page_draw_text(text.data(), lengthOf(text), box.left, box.top, box.width, box.height,
                        clip.left, clip.top, clip.width, clip.height, color.red, color.green,
                        color.blue, static_cast<int>(alignment), fontPixels);
}

void offerPicture(const std::string& name, std::span<const unsigned char> bytes) {
  pirune_page_offer_picture(name.c_str(), bytes.data(), static_cast<int>(bytes.size()));
}

PictureInfo picture(const std::string& name) {
  constexpr int kOnItsWay = -2;
  int id = pirune_page_picture_now(name.c_str());
  if (id == kOnItsWay) {
    id = pirune_page_picture_when_ready(name.c_str());
  }
  if (id < 0) {
    return {};
  }
  return {id, pirune_page_picture_width(id), pirune_page_picture_height(id)};
}

void whileBoxOpen(std::function<void()> timerDue) { timerDueInBox() = std::move(timerDue); }

void messageBox(const std::u16string& title, const std::u16string& text) {
  pirune_page_open_message_box(title.data(), lengthOf(title), text.data(), lengthOf(text));
  answerOfBox();
}

std::optional<std::u16string> inputBox(const std::u16string& title, const std::u16string& prompt) {
  pirune_page_open_input_box(title.data(), lengthOf(title), prompt.data(), lengthOf(prompt));
  const int length = answerOfBox();
  if (length < 0) {
    return std::nullopt;
  }
  std::u16string answer(static_cast<std::size_t>(length), u'\0');
  pirune_page_take_answer(answer.data());
  return answer;
}

bool confirmBox(const std::u16string& title, const std::u16string& text) {
  pirune_page_open_confirm_box(title.data(), lengthOf(title), text.data(), lengthOf(text));
  return answerOfBox() != 0;
}

int addMenuItem(int parent, const std::u16string& caption, bool checkable, bool opensMenu) {
  return pirune_page_add_menu_item(parent, caption.data(), lengthOf(caption), checkable ? 1 : 0,
                                   opensMenu ? 1 : 0);
}

void showMenuItem(int id, bool checked, bool enabled) {
  pirune_page_show_menu_item(id, checked ? 1 : 0, enabled ? 1 : 0);
}

std::int64_t musicOpen(const std::string& name) {
  const double length = pirune_page_music_open(name.c_str());
  return length > 0 && length < INT_MAX ? static_cast<std::int64_t>(length) : 0;
}

void musicRewind() { pirune_page_music_rewind(); }
void musicPlay() { pirune_page_music_play(); }
void musicStop() { pirune_page_music_stop(); }
void musicClose() { pirune_page_music_close(); }

std::optional<std::string> storedRanking() {
  const int length = pirune_page_stored_ranking();
  if (length < 0) {
    return std::nullopt;
  }
  return takeBytes(length);
}

void storeRanking(const std::string& bytes) {
  pirune_page_store_ranking(bytesOf(bytes), static_cast<int>(bytes.size()));
}

std::string chosenRanking() { return takeBytes(pirune_page_chosen_ranking()); }

void downloadRanking(const std::string& bytes) {
  pirune_page_download_ranking(bytesOf(bytes), static_cast<int>(bytes.size()));
}

int screenHeight() { return pirune_page_screen_height(); }

int windowSide() { return pirune_page_window_side(); }

}  // namespace pirune::web::page
