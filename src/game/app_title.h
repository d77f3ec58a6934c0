#pragma once
// The game's name: the window's title and the title of every box it opens.

namespace pirune {

inline constexpr char16_t kAppTitle[] = u"ピルネノ翼";

}  // namespace pirune
