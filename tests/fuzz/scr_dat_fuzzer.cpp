// Whatever bytes a player's scr.dat holds, the game must read a ranking from them and write it
// back with the scores and whatever lies after the fifth record as they were, and settle on the
// same bytes after one round; any name a player types must store in exactly ten bytes.

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "ranking/cp932.h"
#include "ranking/ranking_file.h"
#include "ranking/scr_dat.h"

namespace {

using namespace pirune;

void require(bool holds, const char* what) {
  if (!holds) {
    std::fprintf(stderr, "scr.dat fuzzer: %s\n", what);
    std::abort();
  }
}

std::string saved(const std::string& path, const RankTable& table) {
  RankingFile::open(path)->save(encodeRanking(table));
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::u16string typed(reinterpret_cast<const char16_t*>(bytes.data()), size / 2);
  require(cp932::encodeFixed(typed, kNameBytes).size() == kNameBytes, "a name is not ten bytes");
  const std::u16string decoded = cp932::decode(bytes);
  require(decoded.size() <= size && decoded.empty() == bytes.empty(), "decoded length");

  static const std::string path = [] {
    const auto folder =
        std::filesystem::temp_directory_path() / ("pirune-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    return (folder / kRankingFileName).string();
  }();
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
  const RankTable table = decodeRanking(RankingFile::open(path)->records());
  const std::string once = saved(path, table);
  require(once.size() == std::max(kRankingBytes, size), "saved length");
  require(once.substr(kRankingBytes) == bytes.substr(std::min(size, kRankingBytes)), "tail kept");
  for (std::size_t at = kNameBytes; at + 1 < std::min(size, kRankingBytes); at += kRecordBytes) {
    require(once.compare(at, 2, bytes, at, 2) == 0, "a score changed");
  }
  require(saved(path, decodeRanking(RankingFile::open(path)->records())) == once,
          "a second round changes it");
  return 0;
}
