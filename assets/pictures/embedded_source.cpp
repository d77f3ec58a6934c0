#include "embedded_source.h"

namespace pirune::pictures {
namespace {

constexpr int kBytesPerLine = 16;

QByteArray byteArray(const QString& name, const QByteArray& bytes) {
  QByteArray out = "constexpr unsigned char k" + name.toUtf8() + "[] = {";
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    out += (i % kBytesPerLine == 0) ? "\n    " : " ";
    out +=
        "0x" + QByteArray::number(static_cast<unsigned char>(bytes[i]), 16).rightJustified(2, '0');
    out += ",";
  }
  out += "\n};\n\n";
  return out;
}

}  // namespace

QByteArray embeddedSource(const std::vector<std::pair<QString, QByteArray>>& pictures) {
  QByteArray out =
      "// Made by pirune_picture_generator while the game is built: edit the generator, not this.\n"
      "#include \"embedded_pictures.h\"\n\n"
      "namespace pirune::embedded {\nnamespace {\n\n";
  for (const auto& [name, bytes] : pictures) {
    QString arrayName = name;
    arrayName[0] = arrayName[0].toUpper();
    out += byteArray(arrayName, bytes);
  }
  out += "}  // namespace\n\n";
  for (const auto& [name, bytes] : pictures) {
    QString arrayName = name;
    arrayName[0] = arrayName[0].toUpper();
    out += "std::span<const unsigned char> " + name.toUtf8() + "() { return k" +
           arrayName.toUtf8() + "; }\n";
  }
  out += "\n}  // namespace pirune::embedded\n";
  return out;
}

}  // namespace pirune::pictures
