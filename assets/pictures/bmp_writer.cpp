#include "bmp_writer.h"

#include <QFile>
#include <QList>
#include <QRgb>
#include <cstdint>
#include <stdexcept>

namespace pirune::pictures {
namespace {

constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;
constexpr std::int32_t kPixelsPerMetre = 3780;  // 96 dots per inch

void putLe(QByteArray& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) {
    out.append(static_cast<char>((value >> (8 * i)) & 0xFFU));
  }
}

int bitsPerPixel(const QImage& image) {
  switch (image.format()) {
    case QImage::Format_Mono: return 1;
    case QImage::Format_Indexed8: return 8;
    default: return 24;
  }
}

int paletteEntries(int bits) {
  if (bits == 24) {
    return 0;
  }
  return 1 << bits;
}

void putPalette(QByteArray& out, const QImage& image, int entries) {
  const QList<QRgb> table = image.colorTable();
  for (int i = 0; i < entries; ++i) {
    const QRgb c = i < table.size() ? table[i] : qRgb(0, 0, 0);
    out.append(static_cast<char>(qBlue(c)));
    out.append(static_cast<char>(qGreen(c)));
    out.append(static_cast<char>(qRed(c)));
    out.append('\0');
  }
}

// Rows are stored bottom-up, each padded to a multiple of four bytes.
void putRow(QByteArray& out, const QImage& image, int y, int bits, int stride) {
  QByteArray row(stride, '\0');
  for (int x = 0; x < image.width(); ++x) {
    if (bits == 1) {
      if (image.pixelIndex(x, y) != 0) {
        row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
      }
    } else if (bits == 8) {
      row[x] = static_cast<char>(image.pixelIndex(x, y));
    } else {
      const QRgb c = image.pixel(x, y);
      const qsizetype at = qsizetype{3} * x;
      row[at] = static_cast<char>(qBlue(c));
      row[at + 1] = static_cast<char>(qGreen(c));
      row[at + 2] = static_cast<char>(qRed(c));
    }
  }
  out.append(row);
}

}  // namespace

QByteArray bmpFile(const QImage& image) {
  const int bits = bitsPerPixel(image);
  const int entries = paletteEntries(bits);
  const int stride = ((image.width() * bits + 31) / 32) * 4;
  const auto dataOffset =
      static_cast<std::uint32_t>(kFileHeaderSize + kInfoHeaderSize + 4 * entries);
  const auto dataSize = static_cast<std::uint32_t>(stride * image.height());

  QByteArray out;
  out.append("BM");
  putLe(out, dataOffset + dataSize, 4);
  putLe(out, 0, 4);
  putLe(out, dataOffset, 4);

  putLe(out, kInfoHeaderSize, 4);
  putLe(out, static_cast<std::uint32_t>(image.width()), 4);
  putLe(out, static_cast<std::uint32_t>(image.height()), 4);
  putLe(out, 1, 2);
  putLe(out, static_cast<std::uint32_t>(bits), 2);
  putLe(out, 0, 4);  // uncompressed
  putLe(out, dataSize, 4);
  putLe(out, kPixelsPerMetre, 4);
  putLe(out, kPixelsPerMetre, 4);
  putLe(out, static_cast<std::uint32_t>(entries), 4);
  putLe(out, 0, 4);

  putPalette(out, image, entries);
  for (int y = image.height() - 1; y >= 0; --y) {
    putRow(out, image, y, bits, stride);
  }
  return out;
}

void writeFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size() ||
      !file.flush()) {
    throw std::runtime_error("cannot write " + path.toStdString() + ": " +
                             file.errorString().toStdString());
  }
}

}  // namespace pirune::pictures
