#pragma once
// Pictures as the desktop holds them: decoded once into a QImage that is drawn as it is.

#include <QImage>
#include <span>
#include <string>

#include "screen/picture.h"

namespace pirune::desktop {

class QtBitmap : public Bitmap {
 public:
  QtBitmap(QImage image, std::string source);

  [[nodiscard]] std::string source() const override { return source_; }
  [[nodiscard]] int width() const override { return image_.width(); }
  [[nodiscard]] int height() const override { return image_.height(); }
  [[nodiscard]] const QImage& image() const { return image_; }

 private:
  QImage image_;
  std::string source_;
};

// The decoded pixels of a picture, or nullptr for a picture that did not come from here.
const QImage* imageOf(const Bitmap& bitmap);

// Story pictures from the program's folder. Throws RuntimeError, naming the file, when it is
// missing, unreadable, not a picture or too large to be one of ours.
PictureRef loadPictureFile(const std::string& path);

// A picture carried inside the program. Throws RuntimeError when the bytes are no picture.
PictureRef pictureFromBytes(std::span<const unsigned char> bytes, const std::string& name);

// Sides beyond this are refused before anything is decoded.
inline constexpr int kMaxPictureSide = 8192;

}  // namespace pirune::desktop
