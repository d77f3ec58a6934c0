#include "web_shell.h"

#include <type_traits>
#include <utility>
#include <variant>

#include "flight/record.h"
#include "game/app_title.h"
#include "page.h"
#include "page_picture.h"

namespace pirune::web {

namespace {

FontMetrics pageFont() {
  return {[](std::u16string_view text, double fontPixels) {
            return page_text_width(text.data(), static_cast<int>(text.size()), fontPixels);
          },
          [](double fontPixels) { return page_line_height(fontPixels); }};
}

void draw(const PaintStep& step) {
  std::visit(
      [](const auto& s) {
        using Step = std::decay_t<decltype(s)>;
        if constexpr (std::is_same_v<Step, FillRect>) {
          page_fill_rect(s.rect.left, s.rect.top, s.rect.width, s.rect.height, s.color.red,
                         s.color.green, s.color.blue);
        } else if constexpr (std::is_same_v<Step, DrawPicture>) {
          // Every picture the page's platform gives the game is the page's.
          const auto& picture = static_cast<const PagePicture&>(*s.picture);
          page_draw_picture(picture.id(), s.target.left, s.target.top, s.target.width,
                            s.target.height);
        } else {
          page_draw_text(s.text.data(), static_cast<int>(s.text.size()), s.left, s.top,
                         s.fontPixels, s.color.red, s.color.green, s.color.blue, s.clip.left,
                         s.clip.top, s.clip.width, s.clip.height);
        }
      },
      step);
}

}  // namespace

WebShell::WebShell(std::string stored)
    : music_(kGameFolder),
      platform_(music_, std::move(stored), [this] { session_.tick(); }),
      session_(platform_, *this, pageFont(), RankingKept::AfterEveryChange) {}

void WebShell::paintFrame() {
  const Region region = std::exchange(unpainted_, Region());
  const std::vector<PaintStep> steps = session_.paint(region);
  if (steps.empty()) {
    return;
  }
  std::vector<std::int32_t> rects;
  for (const PixelRect& r : region.rects()) {
    rects.insert(rects.end(), {r.left, r.top, r.width, r.height});
  }
  page_begin_paint(rects.data(), static_cast<int>(region.rects().size()));
  for (const PaintStep& step : steps) {
    draw(step);
  }
  page_end_paint();
}

void WebShell::offerRanking(std::string_view bytes) {
  session_.offerRanking(
      bytes, [this](const std::u16string& text) { return platform_.confirmBox(kAppTitle, text); });
}

void WebShell::reportError(const std::string& text) {
  page_open_error_box(text.c_str());
  // The page answers the error's box as it answers any other; no tick comes behind it.
  char16_t none = 0;
  while (page_box_event(&none, 0) == kTimerDue) {
  }
}

void WebShell::armTimer(std::optional<std::int64_t> delayMs) {
  page_arm_timer(delayMs ? static_cast<double>(*delayMs) : -1.0);
}

void WebShell::buildMenus(const std::vector<MenuEntry>& entries) {
  for (const MenuEntry& entry : entries) {
    page_add_menu_item(entry.id, entry.parent, entry.caption.data(),
                       static_cast<int>(entry.caption.size()), entry.checkable ? 1 : 0,
                       entry.opensMenu ? 1 : 0);
  }
}

void WebShell::showMenuItem(const MenuState& state) {
  page_show_menu_item(state.id, state.checked ? 1 : 0, state.enabled ? 1 : 0);
}

void WebShell::invalidate(const Region& region) {
  const bool asked = !unpainted_.empty();
  unpainted_.add(region);
  if (!asked) {
    page_request_frame();
  }
}

void WebShell::end(int /*status*/) { page_game_ended(); }

void WebShell::chooseFlightFile() {
  // One byte more than a record may hold: enough for the game to refuse a longer file.
  page_choose_flight_file(static_cast<int>(flight::kMaxBytes + 1));
}

void WebShell::saveFlightFile(const std::string& fileName, const std::string& bytes) {
  page_save_file(fileName.c_str(), reinterpret_cast<const unsigned char*>(bytes.data()),
                 static_cast<int>(bytes.size()));
}

void WebShell::showWatching(const std::optional<std::u16string>& status) {
  page_show_watching(status ? status->data() : nullptr,
                     status ? static_cast<int>(status->size()) : -1);
}

void WebShell::requestFlightToken() { page_world_token(); }

bool WebShell::confirm(const std::u16string& text) { return platform_.confirmBox(kAppTitle, text); }

void WebShell::sendFlight(const std::string& token, const std::string& utf8Name,
                          const std::string& record) {
  page_world_send(token.c_str(), utf8Name.c_str(),
                  reinterpret_cast<const unsigned char*>(record.data()),
                  static_cast<int>(record.size()));
}

void WebShell::showWorldRanking() { page_world_show(); }

}  // namespace pirune::web
