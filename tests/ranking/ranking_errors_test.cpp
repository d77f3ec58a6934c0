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

std::string temporaryName() { return ".scr.dat.tmp-" + std::to_string(::getpid()); }

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
    content += repeat('a' + n, 10) + bytesOf({n, 0});
  }
  return content + "tail";
}

TEST(RankingErrors, AScrDatThatIsAFolderStopsTheStartAndTouchesNothing) {
  ProgramRun run;
  std::filesystem::create_directory(run.scr());
  const std::string message = errorOf([&] { run.load(); });
  EXPECT_EQ(message, "ランキングファイル " + run.scr().string() + " を開けません: Is a directory");
  EXPECT_FALSE(run.form.rankingLoaded());
  // The error boundary's save finds nothing to save.
  run.form.saveRankingAfterError();
  EXPECT_TRUE(std::filesystem::is_directory(run.scr()));
  EXPECT_TRUE(std::filesystem::is_empty(run.scr()));
  EXPECT_EQ(folderListing(run.platform.folder), std::vector<std::string>{"scr.dat"});

  // A pipe would hold the start for ever, waiting for a ranking that never comes.
  ProgramRun piped;
  ASSERT_EQ(::mkfifo(piped.scr().c_str(), 0644), 0);
  EXPECT_EQ(errorOf([&] { piped.load(); }), "ランキングファイル " + piped.scr().string() +
                                                " を開けません: 通常のファイルではありません");
  EXPECT_TRUE(std::filesystem::is_fifo(piped.scr()));
}

TEST(RankingErrors, AFolderThatCannotHoldTheFileIsReportedAtStart) {
  ProgramRun run;
  const std::filesystem::path gone = run.platform.folder / "gone";
  run.platform.folder = gone;
  const std::string message = errorOf([&] { run.load(); });
  run.platform.folder = gone.parent_path();
  EXPECT_EQ(message, "ランキングファイル " + gone.string() +
                         "/scr.dat を開けません: No such file or directory");
  EXPECT_FALSE(std::filesystem::exists(gone));
}

TEST(RankingErrors, AFolderInPlaceOfTheTemporaryFileFailsTheSaveAndKeepsTheOldFile) {
  ProgramRun run;
  writeFile(run.scr(), oldRanking());
  run.load();
  run.form.rankTable[0] = {fitName(u"NEW"), 99};
  const std::filesystem::path blocker = run.platform.folder / temporaryName();
  std::filesystem::create_directory(blocker);

  const std::string message = errorOf([&] { run.unload(); });
  EXPECT_EQ(message, "ランキングファイル " + run.scr().string() +
                         " を書き込めません: Is a directory\n（一時ファイル " + blocker.string() +
                         "）\nscr.dat は前のまま残っています。");
  EXPECT_EQ(readFile(run.scr()), oldRanking());
  EXPECT_TRUE(std::filesystem::is_directory(blocker));
  EXPECT_EQ(folderListing(run.platform.folder),
            (std::vector<std::string>{temporaryName(), "scr.dat"}));

  // One attempt per run: the error boundary does not save a second time.
  EXPECT_FALSE(run.form.rankingLoaded());
  run.form.saveRankingAfterError();
  EXPECT_EQ(readFile(run.scr()), oldRanking());
}

TEST(RankingErrors, AWriteThatFailsPartWayLeavesNoTraceAndTheOldFile) {
  ProgramRun run;
  writeFile(run.scr(), oldRanking());
  run.load();
  run.form.rankTable[2] = {fitName(u"NEW"), 77};

  // Files may grow to 30 bytes only: the new content's write stops in its middle.
  const auto previousSignal = std::signal(SIGXFSZ, SIG_IGN);
  rlimit previous{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
  rlimit small = previous;
  small.rlim_cur = 30;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const std::string message = errorOf([&] { run.unload(); });
  setrlimit(RLIMIT_FSIZE, &previous);
  std::signal(SIGXFSZ, previousSignal);

  EXPECT_NE(message.find(" を書き込めません: File too large"), std::string::npos) << message;
  EXPECT_EQ(readFile(run.scr()), oldRanking());
  EXPECT_EQ(folderListing(run.platform.folder), std::vector<std::string>{"scr.dat"});
}

TEST(RankingErrors, ARenameThatFailsRemovesTheTemporaryFile) {
  ProgramRun run;
  run.load();
  // Someone put a folder with something in it where scr.dat was.
  std::filesystem::remove(run.scr());
  std::filesystem::create_directory(run.scr());
  writeFile(run.scr() / "keep", "keep");

  const std::string message = errorOf([&] { run.unload(); });
  EXPECT_NE(message.find("ランキングファイル " + run.scr().string() + " を書き込めません: "),
            std::string::npos)
      << message;
  EXPECT_EQ(readFile(run.scr() / "keep"), "keep");
  EXPECT_EQ(folderListing(run.platform.folder), std::vector<std::string>{"scr.dat"});
}

TEST(RankingErrors, ASaveKeepsTheFileModeAndReplacesAStaleTemporaryFile) {
  ProgramRun run;
  writeFile(run.scr(), oldRanking());
  std::filesystem::permissions(run.scr(), std::filesystem::perms(0640));
  writeFile(run.platform.folder / temporaryName(), "left over by a crash");
  run.load();
  run.form.rankTable[0] = {fitName(u"NEW"), 99};
  run.unload();

  const std::string written = readFile(run.scr());
  EXPECT_EQ(written.substr(0, 12), "NEW       " + bytesOf({0x63, 0x00}));
  EXPECT_EQ(written.substr(12), oldRanking().substr(12));
  EXPECT_EQ(std::filesystem::status(run.scr()).permissions(), std::filesystem::perms(0640));
  EXPECT_EQ(folderListing(run.platform.folder), std::vector<std::string>{"scr.dat"});
}

TEST(RankingErrors, ARunTimeErrorAfterLoadSavesTheRankingOnce) {
  Game game;
  const std::filesystem::path scr = game.platform.folder / "scr.dat";
  game.form.rankTable[0] = {fitName(u"FIRST"), 50};
  game.form.saveRankingAfterError();
  EXPECT_EQ(readFile(scr).substr(0, 12), "FIRST     " + bytesOf({0x32, 0x00}));
  EXPECT_EQ(std::filesystem::file_size(scr), 60U);
  EXPECT_FALSE(game.form.rankingLoaded());

  // The closing of the window that follows does not write again.
  game.form.rankTable[0] = {fitName(u"SECOND"), 60};
  std::int16_t cancel = 0;
  game.form.Form_Unload(cancel);
  EXPECT_EQ(readFile(scr).substr(0, 12), "FIRST     " + bytesOf({0x32, 0x00}));
}

TEST(RankingErrors, AnErrorWhileTheNameIsAskedSavesTheScoreWithABlankName) {
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

  const std::string written = readFile(game.platform.folder / "scr.dat");
  EXPECT_EQ(written.substr(24, 12), repeat(0x20, 10) + bytesOf({75, 0x00}));
  EXPECT_EQ(written.substr(36, 12), "C         " + bytesOf({70, 0x00}));
  EXPECT_EQ(written.find("GONE"), std::string::npos);
}

}  // namespace
}  // namespace pirune::testing
