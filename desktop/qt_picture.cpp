#include "qt_picture.h"

#include <QBuffer>
#include <QByteArray>
#include <QFileInfo>
#include <QIODevice>
#include <QImageReader>
#include <QtEndian>
#include <cstdint>
#include <utility>

#include "game/runtime_error.h"

namespace pirune::desktop {

namespace {

// One 8192 by 8192 picture at four bytes a pixel, and a little room for the decoder.
constexpr int kAllocationLimitMb = 300;

[[noreturn]] void refuse(const std::string& path, const std::string& reason) {
  throw PictureError(path, reason);
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
// many bytes its pixels take, so a file that holds fewer is refused. `size` is the picture's, as
// the header gives it.
bool bitmapIsCutShort(QIODevice& device, QSize size) {
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
  const auto u16 = [&header](int at) { return qFromLittleEndian<quint16>(header.data() + at); };
  const auto u32 = [&header](int at) { return qFromLittleEndian<quint32>(header.data() + at); };
  const quint32 headerSize = u32(14);
  if (headerSize >= 40 && header.size() < 34) {
    return true;
  }
  // The oldest header (12 bytes) is never compressed; run-length pixels of a newer one have no
  // size known in advance.
  const bool uncompressed =
      headerSize == 12 || (headerSize >= 40 && (u32(30) == 0 || u32(30) == 3));
  const std::int64_t width = size.width();
  const std::int64_t height = size.height();
  if (!uncompressed || width <= 0 || height <= 0 || width > kMaxPictureSide ||
      height > kMaxPictureSide) {
    return false;  // the size check says why
  }
  const std::int64_t rowBytes = (width * u16(headerSize == 12 ? 24 : 28) + 31) / 32 * 4;
  return device.size() < u32(10) + rowBytes * height;
}

QImage readChecked(QImageReader& reader, const std::string& name) {
  QImageReader::setAllocationLimit(kAllocationLimitMb);
  reader.setDecideFormatFromContent(true);
  if (!reader.canRead()) {
    refuse(name, "画像として読めません");
  }
  // A bitmap stored top-down reports a negative height: its side is the height's size.
  const QSize size(reader.size().width(), qAbs(reader.size().height()));
  if (size.width() > kMaxPictureSide || size.height() > kMaxPictureSide) {
    refuse(name, "画像が大きすぎます (" + std::to_string(size.width()) + "×" +
                     std::to_string(size.height()) + ")");
  }
  if (reader.device() != nullptr && bitmapIsCutShort(*reader.device(), size)) {
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
