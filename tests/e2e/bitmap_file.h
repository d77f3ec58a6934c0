#pragma once
// The game's own picture files, read to tell which of them the window is showing.

#include <optional>
#include <string>

#include "screen_grab.h"

namespace xdriver {

// An uncompressed 24 or 32-bit Windows bitmap, top row first; nothing if it is not one.
std::optional<Picture> loadBitmap(const std::string& path);

// How far the client area, from the height `fromUnits` down, is from the bitmap stretched over
// the whole client area: the mean difference of a channel, 0 to 255.
double pictureDifference(const ClientArea& client, const Picture& bitmap, double fromUnits);

// The share of the client area's pixels, in percent, that differ visibly from a reference.
double percentDiffering(const Picture& now, const Picture& reference);

}  // namespace xdriver
