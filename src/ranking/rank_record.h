#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace pirune {

inline constexpr std::size_t kNameLength = 10;
inline constexpr std::size_t kRankCount = 5;

// Cuts a text to ten characters or fills it on the right with spaces.
std::u16string fitName(std::u16string_view text);

struct RankRecord {
  std::u16string name = std::u16string(kNameLength, u' ');  // always ten characters
  std::int16_t score = 0;

  friend bool operator==(const RankRecord&, const RankRecord&) = default;
};

using RankTable = std::array<RankRecord, kRankCount>;

}  // namespace pirune
