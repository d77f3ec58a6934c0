#include "page_picture.h"

#include <memory>

#include "game/runtime_error.h"
#include "page.h"

namespace pirune::web {

namespace {

[[noreturn]] void refuse(const std::string& path, const std::string& reason) {
  throw RuntimeError("画像ファイル " + path + " を読み込めません: " + reason);
}

}  // namespace

const PagePicture* pagePictureOf(const Bitmap& bitmap) {
  return dynamic_cast<const PagePicture*>(&bitmap);
}

PictureRef loadPagePicture(const std::string& path, const std::string& folder) {
  // The site holds the pictures of the game's folder, by their file names.
  if (path.size() <= folder.size() || path.compare(0, folder.size(), folder) != 0 ||
      path.find('/', folder.size()) != std::string::npos) {
    refuse(path, "ファイルがありません");
  }
  const page::PictureInfo info = page::picture(path.substr(folder.size()));
  if (info.id < 0) {
    refuse(path, "ファイルがないか、画像として読めません");
  }
  return std::make_shared<PagePicture>(info.id, info.width, info.height, path);
}

PictureRef carriedPicture(const std::string& name) {
  const page::PictureInfo info = page::picture(name);
  if (info.id < 0) {
    refuse(name, "画像として読めません");
  }
  return std::make_shared<PagePicture>(info.id, info.width, info.height, name);
}

}  // namespace pirune::web
