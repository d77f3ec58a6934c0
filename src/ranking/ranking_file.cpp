#include "ranking/ranking_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "game/runtime_error.h"

namespace pirune {

namespace {

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  Descriptor(Descriptor&&) = delete;
  Descriptor& operator=(Descriptor&&) = delete;
  ~Descriptor() {
    if (fd_ >= 0) {
      ::close(fd_);
    }
  }

  [[nodiscard]] int get() const { return fd_; }
  // Closes now, so that a late write error (a full disk on some file systems) is seen.
  int close() {
    const int result = ::close(fd_);
    fd_ = -1;
    return result;
  }

 private:
  int fd_;
};

std::string reason(int error) { return std::strerror(error); }

[[noreturn]] void failOpen(const std::string& path, const std::string& why) {
  throw RuntimeError("ランキングファイル " + path + " を開けません: " + why);
}

[[noreturn]] void failRead(const std::string& path, int error) {
  throw RuntimeError("ランキングファイル " + path + " を読めません: " + reason(error));
}

[[noreturn]] void failSave(const std::string& path, const std::string& temporary, int error) {
  throw RuntimeError("ランキングファイル " + path + " を書き込めません: " + reason(error) +
                     "\n（一時ファイル " + temporary + "）\nscr.dat は前のまま残っています。");
}

std::string folderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) {
    return ".";
  }
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string temporaryPathFor(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  return path.substr(0, nameStart) + "." + path.substr(nameStart) + ".tmp-" +
         std::to_string(::getpid());
}

// Returns 0, or the errno of the write that failed.
int writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) {
        continue;
      }
      return errno;
    }
    if (written == 0) {
      return EIO;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return 0;
}

// Writes the whole content to a new file at `temporary` and brings it to the disk; returns 0
// or the errno of the step that failed, having removed what it made.
int writeTemporary(const std::string& temporary, std::string_view content,
                   const struct stat& like) {
  // No O_EXCL, so a file left by an earlier run of the same process id is simply replaced;
  // anything else in the way (a link, a folder, a pipe) makes the save fail rather than be
  // followed, waited on or removed.
  Descriptor file(::open(temporary.c_str(),
                         O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC,
                         S_IRUSR | S_IWUSR));
  if (file.get() < 0) {
    return errno;
  }
  int error = 0;
  struct stat made {};
  if (::fstat(file.get(), &made) != 0) {
    error = errno;
  } else if (!S_ISREG(made.st_mode)) {
    // Opened, but not a file we made: leave it alone.
    return EEXIST;
  }
  if (error == 0 && ::fchmod(file.get(), like.st_mode & 07777) != 0) {
    error = errno;
  }
  if (error == 0 && (made.st_uid != like.st_uid || made.st_gid != like.st_gid)) {
    // Keeps a player's file theirs when the game ran with other rights; without the rights to
    // do so, the file simply becomes the running player's.
    [[maybe_unused]] const int ignored = ::fchown(file.get(), like.st_uid, like.st_gid);
  }
  if (error == 0) {
    error = writeAll(file.get(), content);
  }
  if (error == 0 && ::fsync(file.get()) != 0) {
    error = errno;
  }
  if (file.close() != 0 && error == 0) {
    error = errno;
  }
  if (error != 0) {
    ::unlink(temporary.c_str());
  }
  return error;
}

}  // namespace

std::string rankingFileIn(const std::string& folder) {
  return (std::filesystem::path(folder) / kRankingFileName).string();
}

std::string resolvedRankingFile(const std::string& path) {
  namespace fs = std::filesystem;
  // Its folder resolved, its own name as it stands (it may be a link, or not there yet).
  const auto inResolvedFolder = [](const fs::path& file) {
    std::error_code unresolved;
    fs::path folder = fs::weakly_canonical(file.parent_path(), unresolved);
    return (unresolved ? file.parent_path().lexically_normal() : folder) / file.filename();
  };
  std::error_code ignored;
  fs::path file = inResolvedFolder(fs::absolute(path, ignored));
  // As many links as the system itself follows before it gives up on a loop.
  constexpr int kMostLinks = 40;
  for (int links = 0; links < kMostLinks && fs::is_symlink(fs::symlink_status(file, ignored));
       ++links) {
    std::error_code unreadable;
    const fs::path leadsTo = fs::read_symlink(file, unreadable);
    if (unreadable) {
      break;
    }
    file = inResolvedFolder(file.parent_path() / leadsTo);
  }
  return file.string();
}

std::unique_ptr<RankingFile> RankingFile::open(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOCTTY,
                        S_IRUSR | S_IWUSR | S_IRGRP | S_IWGRP | S_IROTH | S_IWOTH);
  if (fd < 0) {
    failOpen(path, reason(errno));
  }
  std::unique_ptr<RankingFile> file(new RankingFile(path, fd));
  struct stat status {};
  if (::fstat(fd, &status) != 0) {
    failOpen(path, reason(errno));
  }
  if (!S_ISREG(status.st_mode)) {
    failOpen(path, "通常のファイルではありません");
  }
  return file;
}

RankingFile::~RankingFile() { ::close(fd_); }

std::string RankingFile::readFrom(std::size_t offset, std::size_t limit) const {
  std::string bytes;
  std::array<char, 4096> buffer{};
  while (bytes.size() < limit) {
    const std::size_t want = std::min(buffer.size(), limit - bytes.size());
    const ssize_t got =
        ::pread(fd_, buffer.data(), want, static_cast<off_t>(offset + bytes.size()));
    if (got < 0) {
      if (errno == EINTR) {
        continue;
      }
      failRead(path_, errno);
    }
    if (got == 0) {
      break;
    }
    bytes.append(buffer.data(), static_cast<std::size_t>(got));
  }
  return bytes;
}

std::string RankingFile::records() const { return readFrom(0, kRankingBytes); }

void RankingFile::save(std::string_view records) {
  struct stat status {};
  if (::fstat(fd_, &status) != 0) {
    failRead(path_, errno);
  }
  const std::string content =
      std::string(records.substr(0, kRankingBytes)) + readFrom(kRankingBytes, std::string::npos);

  // A player who keeps the ranking elsewhere links scr.dat to it: the file the link leads to is
  // the one replaced, and the link stays.
  const std::string target = resolvedRankingFile(path_);

  const std::string temporary = temporaryPathFor(target);
  if (const int error = writeTemporary(temporary, content, status); error != 0) {
    failSave(path_, temporary, error);
  }
  if (::rename(temporary.c_str(), target.c_str()) != 0) {
    const int error = errno;
    ::unlink(temporary.c_str());
    failSave(path_, temporary, error);
  }
  // The rename itself reaches the disk only with its folder.
  Descriptor folder(::open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.get() < 0 || ::fsync(folder.get()) != 0) {
    const std::string why = reason(errno);
    throw RuntimeError("ランキングファイル " + path_ + " を書き込めません: " + why +
                       "\n新しいランキングがディスクに届いていないかもしれません。");
  }
}

}  // namespace pirune
