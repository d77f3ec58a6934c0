// Whatever bytes a player's scr.dat holds, the game must read a ranking from them, write it back
// without touching what lies after the fifth record, and settle on the same bytes after one
// round. Built by tests/fuzz/run-fuzz.sh with libFuzzer.

#include <stdlib.h>  // mkdtemp
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>

#include "ranking/cp932.h"
#include "ranking/rank_record.h"
#include "ranking/ranking_file.h"

namespace {

using pirune::RankingFile;
using pirune::RankTable;

void require(bool holds, const char* what) {
  if (!holds) {
    std::fprintf(stderr, "scr.dat fuzzer: %s\n", what);
    std::abort();
  }
}

bool wellFormed(std::u16string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      if (i + 1 == text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF) {
        return false;
      }
      ++i;
    } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
      return false;
    }
  }
  return true;
}

// One folder per fuzzing process, so that parallel jobs never share a scr.dat.
class Folder {
 public:
  Folder() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern =
        std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/pirune-fuzz-XXXXXX";
    require(mkdtemp(pattern.data()) != nullptr, "cannot make a temporary folder");
    path_ = pattern;
  }
  Folder(const Folder&) = delete;
  Folder& operator=(const Folder&) = delete;
  Folder(Folder&&) = delete;
  Folder& operator=(Folder&&) = delete;
  ~Folder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }

  [[nodiscard]] const std::string& path() const { return path_; }

 private:
  std::string path_;
};

const std::string& scrDat() {
  static const Folder folder;
  static const std::string path = folder.path() + "/scr.dat";
  return path;
}

std::string contentOf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  require(in.good(), "cannot read scr.dat back");
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  require(out.good(), "cannot write scr.dat");
}

// The names as the decoder alone sees them: any bytes at all, and any ten of them.
void checkDecoder(std::string_view bytes) {
  const std::u16string text = pirune::cp932::decode(bytes);
  require(wellFormed(text), "decoded text is not well-formed UTF-16");
  // A character of code page 932 takes one or two bytes, an undecodable byte one "?".
  require(text.size() <= bytes.size(), "decoded text longer than its bytes");
  require(bytes.empty() == text.empty(), "bytes decoded to nothing, or nothing to something");

  for (std::size_t at = 0; at < bytes.size(); at += pirune::kNameBytes) {
    const std::u16string name =
        pirune::fitName(pirune::cp932::decode(bytes.substr(at, pirune::kNameBytes)));
    require(name.size() == pirune::kNameLength, "fitted name is not ten characters");
    const std::string stored = pirune::cp932::encodeFixed(name, pirune::kNameBytes);
    require(stored.size() == pirune::kNameBytes, "encoded name is not ten bytes");
    // What was stored once stores as itself: a name settles after one round.
    const std::string again = pirune::cp932::encodeFixed(
        pirune::fitName(pirune::cp932::decode(stored)), pirune::kNameBytes);
    require(again == stored, "a stored name changes when read and stored again");
  }
}

// Names typed by a player can hold any UTF-16 units, lone surrogates included.
void checkEncoder(std::string_view bytes) {
  std::u16string text;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    text.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                         (static_cast<unsigned char>(bytes[i + 1]) << 8)));
  }
  for (const std::size_t width : {std::size_t{0}, std::size_t{1}, pirune::kNameBytes}) {
    require(pirune::cp932::encodeFixed(text, width).size() == width,
            "encoded text is not as wide as asked");
  }
}

std::int16_t scoreAt(std::string_view image, std::size_t record) {
  const std::size_t at = record * pirune::kRecordBytes + pirune::kNameBytes;
  const auto low = static_cast<unsigned char>(image[at]);
  const auto high = static_cast<unsigned char>(image[at + 1]);
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(low | (high << 8)));
}

std::string saveAndReadBack(const std::string& path, const RankTable& table) {
  RankingFile::open(path)->save(table);
  return contentOf(path);
}

void checkFile(std::string_view bytes) {
  const std::string& path = scrDat();
  writeFile(path, bytes);

  const RankTable table = RankingFile::open(path)->read();
  // Scores come from the bytes there are; a record's missing bytes count as blank and zero.
  std::string image(bytes.substr(0, pirune::kRankingBytes));
  for (std::size_t at = image.size(); at < pirune::kRankingBytes; ++at) {
    image.push_back(at % pirune::kRecordBytes < pirune::kNameBytes ? ' ' : '\0');
  }
  for (std::size_t n = 0; n < pirune::kRankCount; ++n) {
    require(table[n].name.size() == pirune::kNameLength, "read name is not ten characters");
    require(table[n].score == scoreAt(image, n), "read score differs from its bytes");
  }

  const std::string saved = saveAndReadBack(path, table);
  require(saved.size() == std::max(pirune::kRankingBytes, bytes.size()),
          "saved file has the wrong length");
  if (bytes.size() > pirune::kRankingBytes) {
    require(std::string_view(saved).substr(pirune::kRankingBytes) ==
                bytes.substr(pirune::kRankingBytes),
            "bytes after the fifth record changed");
  }
  for (std::size_t n = 0; n < pirune::kRankCount; ++n) {
    require(scoreAt(saved, n) == table[n].score, "saved score differs from the table");
  }

  const RankTable reread = RankingFile::open(path)->read();
  const std::string savedAgain = saveAndReadBack(path, reread);
  require(savedAgain == saved, "scr.dat changes again on its second round");
  require(RankingFile::open(path)->read() == reread, "the table changes on its second round");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  checkDecoder(bytes);
  checkEncoder(bytes);
  checkFile(bytes);
  return 0;
}
