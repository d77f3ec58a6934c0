#include "flight/replay_platform.h"

namespace pirune::flight {

namespace {

// A picture of no pixels: where it shows decides nothing in a flight.
class BlankPicture : public Bitmap {
 public:
  explicit BlankPicture(std::string source) : source_(std::move(source)) {}
  [[nodiscard]] std::string source() const override { return source_; }
  [[nodiscard]] int width() const override { return 1; }
  [[nodiscard]] int height() const override { return 1; }

 private:
  std::string source_;
};

}  // namespace

PictureRef ReplayPlatform::loadPicture(const std::string& path) {
  return source_ ? source_->loadPicture(path) : std::make_shared<BlankPicture>(path);
}

PictureRef ReplayPlatform::designPicture(DesignPicture picture) {
  if (source_) {
    return source_->designPicture(picture);
  }
  return std::make_shared<BlankPicture>(picture == DesignPicture::WingFrame1 ? "wing1" : "wing2");
}

}  // namespace pirune::flight
