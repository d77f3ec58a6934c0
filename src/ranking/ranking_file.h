#pragma once
// scr.dat: five records of 12 bytes and nothing else of ours, record n at byte (n - 1) * 12:
// ten bytes of name in code page 932, then the score as a signed 16-bit little-endian number.
// Whatever a longer file holds after the fifth record belongs to someone else and is kept.

#include <cstddef>
#include <memory>
#include <string>

#include "ranking/rank_record.h"

namespace pirune {

inline constexpr std::size_t kNameBytes = 10;
inline constexpr std::size_t kRecordBytes = 12;
inline constexpr std::size_t kRankingBytes = kRecordBytes * kRankCount;
inline constexpr char kRankingFileName[] = "scr.dat";

// scr.dat in `folder`, whether or not the folder's name ends in "/".
std::string rankingFileIn(const std::string& folder);

// The file that a save of the ranking at `path` replaces: an absolute path with every symbolic
// link on the way followed, whether or not that file has been made yet. Two paths lead to the
// same ranking exactly when this is the same for both.
std::string resolvedRankingFile(const std::string& path);

class RankingFile {
 public:
  // Opens the ranking for this run, creating an empty file when there is none, so that a
  // folder the game cannot write to shows at start and not when the player has just ranked.
  // Throws RuntimeError naming the file and the reason when it can be neither opened nor
  // created.
  static std::unique_ptr<RankingFile> open(const std::string& path);

  RankingFile(const RankingFile&) = delete;
  RankingFile& operator=(const RankingFile&) = delete;
  RankingFile(RankingFile&&) = delete;
  RankingFile& operator=(RankingFile&&) = delete;
  ~RankingFile();

  // The five records; bytes the file does not hold count as a blank name and a score of 0.
  [[nodiscard]] RankTable read() const;

  // Replaces the file as a whole, with the bytes after the fifth record as they are now: the
  // new content goes to a temporary file in the same folder, reaches the disk, and is renamed
  // over the old one. A scr.dat that is a symbolic link stays one: the file it leads to is
  // replaced, beside itself. On failure the old file stays exactly as it was and RuntimeError
  // says why.
  void save(const RankTable& table);

 private:
  RankingFile(std::string path, int fd) : path_(std::move(path)), fd_(fd) {}

  [[nodiscard]] std::string readFrom(std::size_t offset, std::size_t limit) const;

  std::string path_;
  int fd_;
};

}  // namespace pirune
