#pragma once
// Turns bitmap files into the C++ source of the pirune_embedded_pictures library.

#include <QByteArray>
#include <QString>
#include <utility>
#include <vector>

namespace pirune::pictures {

// Each entry is the name of an accessor declared in embedded_pictures.h and the bytes it returns.
QByteArray embeddedSource(const std::vector<std::pair<QString, QByteArray>>& pictures);

}  // namespace pirune::pictures
