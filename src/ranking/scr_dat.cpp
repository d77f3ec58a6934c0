#include "ranking/scr_dat.h"

#include <cstdint>

#include "ranking/cp932.h"

namespace pirune {

std::string encodeRanking(const RankTable& table) {
  std::string bytes;
  bytes.reserve(kRankingBytes);
  for (const RankRecord& record : table) {
    bytes += cp932::encodeFixed(record.name, kNameBytes);
    const auto score = static_cast<std::uint16_t>(record.score);
    bytes.push_back(static_cast<char>(score & 0xFF));
    bytes.push_back(static_cast<char>(score >> 8));
  }
  return bytes;
}

RankTable decodeRanking(std::string_view bytes) {
  // A record the bytes hold only in part keeps a blank record's bytes where they end.
  std::string records;
  for (std::size_t n = 0; n < kRankCount; ++n) {
    records.append(kNameBytes, ' ');
    records.append(kRecordBytes - kNameBytes, '\0');
  }
  const std::string_view held = bytes.substr(0, kRankingBytes);
  records.replace(0, held.size(), held);

  RankTable table;
  for (std::size_t n = 0; n < kRankCount; ++n) {
    const std::string_view record =
        std::string_view(records).substr(n * kRecordBytes, kRecordBytes);
    table[n].name = fitName(cp932::decode(record.substr(0, kNameBytes)));
    const auto low = static_cast<unsigned char>(record[kNameBytes]);
    const auto high = static_cast<unsigned char>(record[kNameBytes + 1]);
    table[n].score = static_cast<std::int16_t>(static_cast<std::uint16_t>(low | (high << 8)));
  }
  return table;
}

}  // namespace pirune
