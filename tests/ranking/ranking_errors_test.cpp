// When scr.dat cannot be opened, read or written: the player is told which file and why, and
// a save that fails leaves the old ranking exactly as it was.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <functional>
#include <string>
#include <vector>

#include "game/runtime_error.h"
#include "ranking/file_bytes.h"
#include "ranking/ranking_file.h"

namespace pirune::testing {
namespace {

std::string errorOf(const std::function<void()>& step) {
  try {
    step();
  } catch (const RuntimeError& error) {
    return error.what();
  }
  return "(no error)";
}

// Five records and a tail, so that "as it was" covers the bytes after the ranking too.
std::string oldRanking() {
  std::string content;
  for (int n = 1; n <= 5; ++n) {
    content += repeat('a' + n, 10) + repeat(n, 1) + hex("00");
  }
  return content + "tail";
}

TEST(RankingErrors, AScrDatThatIsNoFileStopsTheStartAndIsLeftAsItIs) {
  const std::pair<std::function<void(const std::filesystem::path&)>, std::string> cases[] = {
      {[](const auto& scr) { std::filesystem::create_directory(scr); }, "Is a directory"},
      // A pipe would hold the start for ever, waiting for a ranking that never comes.
      {[](const auto& scr) { ::mkfifo(scr.c_str(), 0644); }, "通常のファイルではありません"},
  };
  for (const auto& [make, reason] : cases) {
    ProgramRun run;
    make(run.scr());
    const auto type = std::filesystem::status(run.scr()).type();
    EXPECT_EQ(errorOf([&] { run.load(); }),
              "ランキングファイル " + run.scr().string() + " を開けません: " + reason);
    EXPECT_FALSE(run.form.rankingLoaded());
    // The error boundary's save finds nothing to save.
    run.form.saveRankingAfterError();
    EXPECT_EQ(std::filesystem::status(run.scr()).type(), type);
    EXPECT_EQ(folderListing(run.platform.folder), std::vector<std::string>{"scr.dat"});
  }
}

TEST(RankingErrors, ASaveThatFailsAtAnyStepKeepsTheOldFileAndLeavesNoTemporaryFile) {
  const std::string temporary = ".scr.dat.tmp-" + std::to_string(::getpid());
  struct Case {
    std::function<void(ProgramRun&)> before;
    std::string error;  // the whole message or a part of it, {} standing for the folder
    std::vector<std::string> left;
  };
  const Case cases[] = {
      // A folder where the new content should be written.
      {[&](ProgramRun& run) { std::filesystem::create_directory(run.platform.folder / temporary); },
       "ランキングファイル {}/scr.dat を書き込めません: Is a directory\n（一時ファイル {}/" +
           temporary + "）\nscr.dat は前のまま残っています。",
       {temporary, "scr.dat"}},
      // Files may grow to 30 bytes only: the write stops in the middle of the new content.
      {[](ProgramRun&) {
         rlimit small{};
         getrlimit(RLIMIT_FSIZE, &small);
         small.rlim_cur = 30;
         setrlimit(RLIMIT_FSIZE, &small);
       },
       " を書き込めません: File too large",
       {"scr.dat"}},
      // Someone put a folder with something in it where scr.dat was: the rename fails.
      {[](ProgramRun& run) {
         std::filesystem::rename(run.scr(), run.platform.folder / "old");
         std::filesystem::create_directories(run.scr() / "keep");
       },
       " を書き込めません: ",
       {"old", "scr.dat", "scr.dat/keep"}},
      // A file left by a crash of an earlier run is no obstacle.
      {[&](ProgramRun& run) { writeFile(run.platform.folder / temporary, "left over"); },
       "(no error)",
       {"scr.dat"}},
  };
  const auto previousSignal = std::signal(SIGXFSZ, SIG_IGN);
  rlimit previous{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.error);
    ProgramRun run;
    writeFile(run.scr(), oldRanking());
    std::filesystem::permissions(run.scr(), std::filesystem::perms(0640));
    run.load();
    run.form.rankTable[0] = {fitName(u"NEW"), 99};
    c.before(run);
    const std::string message = errorOf([&] { run.unload(); });
    setrlimit(RLIMIT_FSIZE, &previous);
    std::string error = c.error;
    for (std::size_t at = 0; (at = error.find("{}", at)) != std::string::npos;) {
      error.replace(at, 2, run.platform.folder.string());
    }
    EXPECT_NE(message.find(error), std::string::npos) << message;
    EXPECT_EQ(folderListing(run.platform.folder), c.left);
    const std::filesystem::path kept = c.left[0] == "old" ? run.platform.folder / "old" : run.scr();
    EXPECT_EQ(std::filesystem::status(kept).permissions(), std::filesystem::perms(0640));
    if (c.error == "(no error)") {
      EXPECT_EQ(readFile(kept), "NEW       " + hex("63 00") + oldRanking().substr(12));
      continue;
    }
    EXPECT_EQ(readFile(kept), oldRanking());
    // One attempt per run: the error boundary does not save a second time.
    EXPECT_FALSE(run.form.rankingLoaded());
    run.form.saveRankingAfterError();
    EXPECT_EQ(readFile(kept), oldRanking());
  }
  std::signal(SIGXFSZ, previousSignal);
}

TEST(RankingErrors, AnErrorWhileTheNameIsAskedSavesTheScoreWithABlankNameOnce) {
  Game game;
  FOM& f = game.form;
  f.rankTable = {RankRecord{fitName(u"A"), 90},
                 {fitName(u"B"), 80},
                 {fitName(u"C"), 70},
                 {fitName(u"D"), 60},
                 {fitName(u"GONE"), 50}};
  f.distance = 75;
  game.platform.whileBoxOpen = [] { throw RuntimeError("実行時エラー"); };
  EXPECT_EQ(errorOf([&] { f.RANKING_TOUROKU(); }), "実行時エラー");
  f.saveRankingAfterError();

  const std::filesystem::path scr = game.platform.folder / "scr.dat";
  const std::string written = readFile(scr);
  EXPECT_EQ(written.size(), 60U);
  EXPECT_EQ(written.substr(24, 24), repeat(0x20, 10) + hex("4B 00") + "C         " + hex("46 00"));
  EXPECT_EQ(written.find("GONE"), std::string::npos);
  // The closing of the window that follows does not write again.
  f.rankTable[0] = {fitName(u"SECOND"), 60};
  std::int16_t cancel = 0;
  f.Form_Unload(cancel);
  EXPECT_EQ(readFile(scr), written);
}

}  // namespace
}  // namespace pirune::testing
