#include "web_platform.h"

#include <emscripten.h>

#include "embedded_pictures.h"
#include "page.h"
#include "page_picture.h"

namespace pirune::web {

int WebPlatform::screenHeight() { return page::screenHeight(); }

int WebPlatform::outerHeight() { return page::windowSide(); }

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
