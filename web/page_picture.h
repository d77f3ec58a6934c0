#pragma once
// Pictures as the page holds them: decoded by the browser, drawn by the canvas, known to the
// program by their number on the page.

#include <string>

#include "screen/picture.h"

namespace pirune::web {

class PagePicture : public Bitmap {
 public:
  PagePicture(int id, int width, int height, std::string source)
      : id_(id), width_(width), height_(height), source_(std::move(source)) {}

  [[nodiscard]] std::string source() const override { return source_; }
  [[nodiscard]] int width() const override { return width_; }
  [[nodiscard]] int height() const override { return height_; }
  [[nodiscard]] int id() const { return id_; }

 private:
  int id_;
  int width_;
  int height_;
  std::string source_;
};

// A story picture of the game's folder, as the site carries it. Throws RuntimeError, naming
// the file, when the site has no such picture or the browser could not decode it.
PictureRef loadPagePicture(const std::string& path, const std::string& folder);

// A picture that the program carries, handed to the page before the game started. Throws
// RuntimeError when the browser could not decode it.
PictureRef carriedPicture(const std::string& name);

}  // namespace pirune::web
