#pragma once
// Windows bitmap files, written byte by byte so that the depth and the palette are exactly the
// ones the game asks for: 1 bit for the wing frames, 8 bits with a palette for the icon, 24 bits
// for the title and story pictures.

#include <QByteArray>
#include <QImage>
#include <QString>

namespace pirune::pictures {

// Format_Mono gives a 1-bit file with the image's two colours, Format_Indexed8 an 8-bit file
// with its colour table padded to 256 entries; any other format gives a 24-bit file.
QByteArray bmpFile(const QImage& image);

// Throws std::runtime_error naming the file when it cannot be written.
void writeFile(const QString& path, const QByteArray& bytes);

}  // namespace pirune::pictures
