#pragma once
// scr.dat's bytes: five records of 12 bytes, record n at byte (n - 1) * 12: ten bytes of name
// in code page 932, then the score as a signed 16-bit little-endian number. Whatever a longer
// file holds after the fifth record belongs to someone else; the place that stores the bytes
// keeps it.

#include <cstddef>
#include <string>
#include <string_view>

#include "ranking/rank_record.h"

namespace pirune {

inline constexpr std::size_t kNameBytes = 10;
inline constexpr std::size_t kRecordBytes = 12;
inline constexpr std::size_t kRankingBytes = kRecordBytes * kRankCount;
inline constexpr char kRankingFileName[] = "scr.dat";

// Exactly kRankingBytes bytes. A name that code page 932 cannot hold in ten bytes loses what
// does not fit.
std::string encodeRanking(const RankTable& table);

// The five records of `bytes`; bytes it does not hold count as a blank name and a score of 0,
// and whatever follows the fifth record is not read.
RankTable decodeRanking(std::string_view bytes);

}  // namespace pirune
