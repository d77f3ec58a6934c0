#pragma once
// The game writes its line breaks as CR LF; every box and label shows LF.

#include <string>
#include <string_view>

namespace pirune {

// The game's CR LF line breaks as LF, the one break that every shell shows.
[[nodiscard]] inline std::u16string withLineFeeds(std::u16string_view text) {
  std::u16string result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
      continue;
    }
    result += text[i];
  }
  return result;
}

}  // namespace pirune
