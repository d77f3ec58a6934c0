#include "page_picture.h"

#include <memory>

#include "game/runtime_error.h"
#include "page.h"

namespace pirune::web {

namespace {

[[noreturn]] void refuse(const std::string& path, const std::string& reason) {
  throw RuntimeError("画像ファイル " + path + " を読み込めません: " + reason);
}

std::shared_ptr<PagePicture> pagePicture(int id, const std::string& source) {
  return std::make_shared<PagePicture>(id, page_picture_width(id), page_picture_height(id), source);
}

}  // namespace

PictureRef loadPagePicture(const std::string& path, const std::string& folder) {
  // The site holds the pictures of the game's folder, by their file names.
  if (path.size() <= folder.size() || path.compare(0, folder.size(), folder) != 0 ||
      path.find('/', folder.size()) != std::string::npos) {
    refuse(path, "ファイルがありません");
  }
  const int id = page_picture(path.substr(folder.size()).c_str());
  if (id < 0) {
    refuse(path, "ファイルがないか、画像として読めません");
  }
  return pagePicture(id, path);
}

PictureRef carriedPicture(const std::string& name) {
  const int id = page_picture(name.c_str());
  if (id < 0) {
    refuse(name, "画像として読めません");
  }
  return pagePicture(id, name);
}

}  // namespace pirune::web
