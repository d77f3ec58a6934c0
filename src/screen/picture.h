#pragma once
// A picture belongs to the platform that decoded it; the core only hands it from control to
// control (the hero shows a copy of a wing frame).

#include <memory>
#include <string>

namespace pirune {

class Bitmap {
 public:
  Bitmap() = default;
  Bitmap(const Bitmap&) = delete;
  Bitmap& operator=(const Bitmap&) = delete;
  Bitmap(Bitmap&&) = delete;
  Bitmap& operator=(Bitmap&&) = delete;
  virtual ~Bitmap() = default;

  // Where the pixels came from: a file path, or the name of a picture built into the program.
  [[nodiscard]] virtual std::string source() const = 0;
  // Its natural size, in its own pixels: an image that does not stretch shows it so.
  [[nodiscard]] virtual int width() const = 0;
  [[nodiscard]] virtual int height() const = 0;
};

using PictureRef = std::shared_ptr<const Bitmap>;

// The pictures that the window carries with it rather than loading them from the folder.
enum class DesignPicture { WingFrame1, WingFrame2 };

}  // namespace pirune
