#include "qt_picture.h"

#include <QBuffer>
#include <QByteArray>
#include <QFileInfo>
#include <QImageReader>
#include <utility>

#include "game/runtime_error.h"

namespace pirune::desktop {

namespace {

// One 8192 by 8192 picture at four bytes a pixel, and a little room for the decoder.
constexpr int kAllocationLimitMb = 300;

[[noreturn]] void refuse(const std::string& path, const std::string& reason) {
  throw RuntimeError("画像ファイル " + path + " を読み込めません: " + reason);
}

// Black stays black: nothing of ours is drawn with transparency it did not ask for. A picture
// without alpha is kept as the reader made it, when that is already a format drawn as it
// stands: converting it would only hold the picture twice for a while.
QImage drawable(const QImage& decoded) {
  if (!decoded.hasAlphaChannel() && decoded.format() == QImage::Format_RGB32) {
    return decoded;
  }
  return decoded.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage readChecked(QImageReader& reader, const std::string& name) {
  QImageReader::setAllocationLimit(kAllocationLimitMb);
  reader.setDecideFormatFromContent(true);
  if (!reader.canRead()) {
    refuse(name, "画像として読めません");
  }
  const QSize size = reader.size();
  if (size.width() > kMaxPictureSide || size.height() > kMaxPictureSide) {
    refuse(name, "画像が大きすぎます (" + std::to_string(size.width()) + "×" +
                     std::to_string(size.height()) + ")");
  }
  const QImage image = reader.read();
  if (image.isNull() || image.width() <= 0 || image.height() <= 0) {
    refuse(name, "画像として読めません");
  }
  return drawable(image);
}

}  // namespace

QtBitmap::QtBitmap(QImage image, std::string source)
    : image_(std::move(image)), source_(std::move(source)) {}

const QImage* imageOf(const Bitmap& bitmap) {
  const auto* qt = dynamic_cast<const QtBitmap*>(&bitmap);
  return qt == nullptr ? nullptr : &qt->image();
}

PictureRef loadPictureFile(const std::string& path) {
  const QString file = QString::fromStdString(path);
  const QFileInfo info(file);
  if (!info.exists()) {
    refuse(path, "ファイルがありません");
  }
  if (!info.isFile()) {
    refuse(path, "ファイルではありません");
  }
  if (!info.isReadable()) {
    refuse(path, "読み取りが許可されていません");
  }
  QImageReader reader(file);
  return std::make_shared<QtBitmap>(readChecked(reader, path), path);
}

PictureRef pictureFromBytes(std::span<const unsigned char> bytes, const std::string& name) {
  QByteArray data(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<qsizetype>(bytes.size()));
  QBuffer buffer(&data);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, "BMP");
  return std::make_shared<QtBitmap>(readChecked(reader, name), name);
}

}  // namespace pirune::desktop
