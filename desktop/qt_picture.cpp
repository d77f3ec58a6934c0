#include "qt_picture.h"

#include <QBuffer>
#include <QByteArray>
#include <QFileInfo>
#include <QIODevice>
#include <QImageReader>
#include <cstdint>
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

// Qt draws a Windows bitmap whose pixels stop early as if the rest were black: the player
// would see a damaged picture and no error. An uncompressed bitmap's header says exactly how
// many bytes its pixels take, so a file that holds fewer is refused.
bool bitmapIsCutShort(QIODevice& device) {
  // Read from the start, whatever the reader has taken so far, and leave it where it was.
  const qint64 position = device.pos();
  if (!device.seek(0)) {
    return false;
  }
  const QByteArray header = device.read(34);
  device.seek(position);
  if (header.size() < 30 || !header.startsWith("BM")) {
    return false;  // not a bitmap, or too short to say: the reader decides
  }
  const auto* b = reinterpret_cast<const unsigned char*>(header.constData());
  const auto u16 = [b](int at) { return static_cast<std::int64_t>(b[at] | (b[at + 1] << 8)); };
  const auto u32 = [&u16](int at) { return u16(at) | (u16(at + 2) << 16); };
  const std::int64_t pixelsAt = u32(10);
  const std::int64_t headerSize = u32(14);
  std::int64_t width = 0;
  std::int64_t height = 0;
  std::int64_t bitsPerPixel = 0;
  if (headerSize == 12) {  // the oldest header: 16-bit sizes, never compressed
    width = u16(18);
    height = u16(20);
    bitsPerPixel = u16(24);
  } else if (headerSize >= 40) {
    if (header.size() < 34) {
      return true;
    }
    const std::int64_t compression = u32(30);
    if (compression != 0 && compression != 3) {
      return false;  // run-length pixels have no size known in advance
    }
    width = static_cast<std::int32_t>(u32(18));
    height = static_cast<std::int32_t>(u32(22));
    bitsPerPixel = u16(28);
    height = height < 0 ? -height : height;  // top-down bitmaps store a negative height
  } else {
    return false;
  }
  if (width <= 0 || height <= 0 || width > kMaxPictureSide || height > kMaxPictureSide) {
    return false;  // the size check below says why
  }
  const std::int64_t rowBytes = (width * bitsPerPixel + 31) / 32 * 4;
  return device.size() < pixelsAt + rowBytes * height;
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
  if (reader.device() != nullptr && bitmapIsCutShort(*reader.device())) {
    refuse(name, "画像のデータが途中で切れています");
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
