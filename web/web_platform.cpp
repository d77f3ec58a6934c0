#include "web_platform.h"

#include <emscripten.h>

#include <utility>

#include "embedded_pictures.h"
#include "flight/record.h"
#include "page.h"
#include "page_picture.h"

namespace pirune::web {

namespace {

// The names under which the page holds the pictures that the program carries.
constexpr char kWingFrame1[] = "wing frame 1";
constexpr char kWingFrame2[] = "wing frame 2";

// Longer than any name the ranking keeps; the page's field takes no more.
constexpr int kLongestAnswer = 256;

const unsigned char* bytesOf(const std::string& bytes) {
  return reinterpret_cast<const unsigned char*>(bytes.data());
}

void openBox(PageBox kind, const std::u16string& title, const std::u16string& text) {
  page_open_box(kind, title.data(), static_cast<int>(title.size()), text.data(),
                static_cast<int>(text.size()));
}

}  // namespace

WebPlatform::WebPlatform(MusicBackend& music, std::string stored, std::function<void()> timerDue)
    : music_(music), stored_(std::move(stored)), timerDue_(std::move(timerDue)) {}

void WebPlatform::storeRanking(const std::string& records) {
  page_store_ranking(bytesOf(records), static_cast<int>(records.size()));
}

void WebPlatform::replaceRanking(const std::string& file) {
  page_replace_ranking(bytesOf(file), static_cast<int>(file.size()));
}

std::optional<std::string> WebPlatform::loadFlight(const std::string& slot) {
  const int length = page_load_flight(slot.c_str());
  // Anything longer is no record: it would be refused unread.
  if (length < 0 || static_cast<std::size_t>(length) > flight::kMaxBytes) {
    return std::nullopt;
  }
  std::string bytes(static_cast<std::size_t>(length), '\0');
  page_take_flight(reinterpret_cast<unsigned char*>(bytes.data()), length);
  return bytes;
}

void WebPlatform::storeFlight(const std::string& slot, const std::string& bytes) {
  page_store_flight(slot.c_str(), bytesOf(bytes), static_cast<int>(bytes.size()));
}

int WebPlatform::screenHeight() { return page_screen_height(); }

int WebPlatform::outerHeight() { return page_window_side(); }

PictureRef WebPlatform::loadPicture(const std::string& path) {
  return loadPagePicture(path, kGameFolder);
}

PictureRef WebPlatform::designPicture(DesignPicture picture) {
  return carriedPicture(picture == DesignPicture::WingFrame1 ? kWingFrame1 : kWingFrame2);
}

int WebPlatform::answerOfBox(char16_t* answer, int capacity) {
  for (;;) {
    const int event = page_box_event(answer, capacity);
    if (event != kTimerDue) {
      return event;
    }
    timerDue_();
  }
}

void WebPlatform::messageBox(const std::u16string& title, const std::u16string& text) {
  openBox(kMessageBox, title, text);
  answerOfBox(nullptr, 0);
}

std::optional<std::u16string> WebPlatform::inputBox(const std::u16string& title,
                                                    const std::u16string& prompt) {
  openBox(kInputBox, title, prompt);
  std::u16string answer(kLongestAnswer, u'\0');
  const int length = answerOfBox(answer.data(), kLongestAnswer);
  if (length < 0) {
    return std::nullopt;
  }
  answer.resize(static_cast<std::size_t>(std::min(length, kLongestAnswer)));
  return answer;
}

bool WebPlatform::confirmBox(const std::u16string& title, const std::u16string& text) {
  openBox(kConfirmBox, title, text);
  return answerOfBox(nullptr, 0) == 1;
}

std::int64_t WebPlatform::nowMs() {
  // The page's monotonic clock, performance.now().
  return static_cast<std::int64_t>(emscripten_get_now());
}

void offerCarriedPictures() {
  const auto offer = [](const char* name, std::span<const unsigned char> bytes) {
    page_offer_picture(name, bytes.data(), static_cast<int>(bytes.size()));
  };
  offer(kWingFrame1, embedded::wingFrame1Bmp());
  offer(kWingFrame2, embedded::wingFrame2Bmp());
}

}  // namespace pirune::web
