#include "web_platform.h"

#include <emscripten.h>

#include <chrono>
#include <cmath>

#include "embedded_pictures.h"
#include "page.h"
#include "page_picture.h"

namespace pirune::web {

int WebPlatform::screenHeight() { return page::screenHeight(); }

int WebPlatform::outerHeight() { return page::windowSide(); }

void WebPlatform::seedRandomFromClock() {
  const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
  generator_.seed(static_cast<std::uint64_t>(ticks));
}

double WebPlatform::rnd() {
  const double r = uniform_(generator_);
  // Some library versions can round up to 1.0, which would pick one colour too many.
  return r < 1.0 ? r : std::nextafter(1.0, 0.0);
}

PictureRef WebPlatform::loadPicture(const std::string& path) {
  return loadPagePicture(path, std::string(kGameFolder) + "/");
}

PictureRef WebPlatform::designPicture(DesignPicture picture) {
  return carriedPicture(picture == DesignPicture::WingFrame1 ? kWingFrame1 : kWingFrame2);
}

void WebPlatform::messageBox(const std::u16string& text, const std::u16string& title) {
  page::messageBox(title, text);
}

std::optional<std::u16string> WebPlatform::inputBox(const std::u16string& prompt,
                                                    const std::u16string& title) {
  return page::inputBox(title, prompt);
}

std::int64_t WebPlatform::nowMs() {
  // The page's monotonic clock, performance.now().
  return static_cast<std::int64_t>(emscripten_get_now());
}

void offerCarriedPictures() {
  page::offerPicture(kWingFrame1, embedded::wingFrame1Bmp());
  page::offerPicture(kWingFrame2, embedded::wingFrame2Bmp());
}

}  // namespace pirune::web
