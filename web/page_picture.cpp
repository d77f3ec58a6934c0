#include "page_picture.h"

#include <memory>

#include "game/runtime_error.h"
#include "page.h"

namespace pirune::web {

namespace {

[[noreturn]] void refuse(const std::string& source, const char* reason) {
  throw PictureError(source, reason);
}

// The page's picture called `name`, or the error that names the game's file `source`.
PictureRef pagePicture(const std::string& name, const std::string& source, const char* reason) {
  const int id = page_picture(name.c_str());
  if (id < 0) {
    refuse(source, reason);
  }
  return std::make_shared<PagePicture>(id, page_picture_width(id), page_picture_height(id), source);
}

}  // namespace

PictureRef loadPagePicture(const std::string& path, const std::string& folder) {
  // The site holds the pictures of the game's folder, by their file names.
  if (path.size() <= folder.size() || !path.starts_with(folder) ||
      path.find('/', folder.size()) != std::string::npos) {
    refuse(path, "ファイルがありません");
  }
  return pagePicture(path.substr(folder.size()), path, "ファイルがないか、画像として読めません");
}

PictureRef carriedPicture(const std::string& name) {
  return pagePicture(name, name, "画像として読めません");
}

}  // namespace pirune::web
