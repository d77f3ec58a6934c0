#include "ranking_store.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <utility>

#include "game/decimal.h"
#include "game/form.h"
#include "game/runtime_error.h"
#include "page.h"
#include "ranking/ranking_file.h"
#include "ranking/ranking_message.h"

namespace pirune::web {

namespace {

// scr.dat and its offered copy on the program's own file system, which holds them in memory.
std::string readAll(const std::string& path) {
  std::string bytes;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    return bytes;
  }
  std::array<char, 4096> buffer{};
  for (ssize_t got = 0; (got = ::read(fd, buffer.data(), buffer.size())) > 0;) {
    bytes.append(buffer.data(), static_cast<std::size_t>(got));
  }
  ::close(fd);
  return bytes;
}

void writeAll(const std::string& path, const std::string& bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) {
    throw RuntimeError("ランキングファイル " + path + " を書き込めません");
  }
  std::size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t wrote = ::write(fd, bytes.data() + written, bytes.size() - written);
    if (wrote <= 0) {
      break;
    }
    written += static_cast<std::size_t>(wrote);
  }
  ::close(fd);
  if (written < bytes.size()) {
    throw RuntimeError("ランキングファイル " + path + " を書き込めません");
  }
}

}  // namespace

RankingStore::RankingStore(FOM& form, std::string folder)
    : form_(form), folder_(std::move(folder)) {}

std::string RankingStore::path() const { return rankingFileIn(folder_); }

std::string RankingStore::offeredPath() const { return path() + ".offered"; }

void RankingStore::seed() {
  std::filesystem::create_directories(folder_);
  if (const auto stored = page::storedRanking()) {
    writeAll(path(), *stored);
  }
}

void RankingStore::loaded() {
  loaded_ = true;
  saved_ = form_.rankTable;
}

void RankingStore::mirror() {
  if (std::filesystem::exists(path())) {
    page::storeRanking(readAll(path()));
  }
}

void RankingStore::persist() {
  if (!loaded_) {
    return;
  }
  form_.RANKING_SAVE();
  form_.RANKING_LOAD();
  saved_ = form_.rankTable;
  mirror();
}

void RankingStore::persistIfChanged() {
  if (loaded_ && form_.rankTable != saved_) {
    persist();
  }
}

void RankingStore::saveAfterError() {
  if (!std::exchange(loaded_, false)) {
    return;
  }
  form_.RANKING_SAVE();
  mirror();
}

std::string RankingStore::fileBytes() const { return readAll(path()); }

void RankingStore::offerChosenFile() {
  if (!loaded_) {
    return;
  }
  const std::string bytes = page::chosenRanking();
  if (bytes.empty() || bytes.size() > kLargestRankingFile) {
    const std::u16string why = bytes.empty()
                                   ? u"ファイルが空です。"
                                   : u"ランキングのファイルにしては大きすぎます（" +
                                         decimal(static_cast<long long>(kLargestRankingFile)) +
                                         u" バイトを超えています）。";
    // The game's timers wait while the player reads the file's ranking.
    const ModalScope held(form_.timers);
    page::messageBox(kAppTitle,
                     u"scr.dat を読み込めません。\r\n" + why + u"\r\nランキングは前のままです。");
    return;
  }
  writeAll(offeredPath(), bytes);
  const RankTable offered = RankingFile::open(offeredPath())->read();
  bool accepted = false;
  {
    const ModalScope held(form_.timers);
    accepted = page::confirmBox(kAppTitle, u"読み込んだ scr.dat のランキングです。" +
                                               rankingMessage(offered) +
                                               u"\r\n\r\nOK でこのランキングに入れ替えます。");
  }
  if (!accepted) {
    std::remove(offeredPath().c_str());
    return;
  }
  std::filesystem::rename(offeredPath(), path());
  form_.RANKING_LOAD();
  saved_ = form_.rankTable;
  mirror();
}

}  // namespace pirune::web
