#pragma once
// scr.dat as a file of the desktop's: read at start, replaced as a whole at the end, safely.
// Whatever a longer file holds after the five records belongs to someone else and is kept.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "ranking/scr_dat.h"

namespace pirune {

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

  // The bytes of the five records, as far as the file holds them.
  [[nodiscard]] std::string records() const;

  // Replaces the file as a whole: `records`, then the bytes after the fifth record as they
  // are now. The
  // new content goes to a temporary file in the same folder, reaches the disk, and is renamed
  // over the old one. A scr.dat that is a symbolic link stays one: the file it leads to is
  // replaced, beside itself. On failure the old file stays exactly as it was and RuntimeError
  // says why.
  void save(std::string_view records);

 private:
  RankingFile(std::string path, int fd) : path_(std::move(path)), fd_(fd) {}

  [[nodiscard]] std::string readFrom(std::size_t offset, std::size_t limit) const;

  std::string path_;
  int fd_;
};

}  // namespace pirune
