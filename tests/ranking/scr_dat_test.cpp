// scr.dat byte by byte: what start-up reads, what the end of a run leaves, and that a save
// that fails, at any step, leaves the old ranking exactly as it was.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <iterator>

#include "support/scripted_platform.h"

namespace pirune::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const fs::path& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string errorOf(const std::function<void()>& step) {
  try {
    step();
  } catch (const RuntimeError& error) {
    return error.what();
  }
  return "";
}

// A program run whose start and end the test calls itself, around a prepared folder.
struct ProgramRun {
  ScriptedPlatform platform;
  FOM form{platform};
  fs::path scr = platform.folder / "scr.dat";

  void load() { form.Form_Load(); }
  std::string unload() {
    std::int16_t cancel = 0;
    return errorOf([&] { form.Form_Unload(cancel); });
  }
};

TEST(ScrDat, NamesInCodePage932AndLittleEndianScoresWrittenToANewFileAndReadBack) {
  ProgramRun run;
  run.load();
  EXPECT_EQ(fs::file_size(run.scr), 0U);  // none: made empty at start, the table blank
  EXPECT_EQ(run.form.rankTable, RankTable{});
  RankTable& table = run.form.rankTable;
  table[0] = {fitName(u"ピルネ"), -1};
  table[1] = {fitName(u"ﾋﾟﾙﾈﾉﾂﾊﾞｻﾞ"), 300};
  table[2] = {u"あいうえおかきくけこ", 32767};       // ten full-width: five fit in ten bytes
  table[3] = {u"Aあいうえおか\U0001F600é", -32768};  // the fifth double byte would need byte 11
  table[4].name = u"Aé\U0001F600B\xD800Z   ";        // what code page 932 has not: one "?" each
  EXPECT_EQ(run.unload(), "");
  const std::string written =
      "\x83\x73\x83\x8B\x83\x6C    \xFF\xFF"
      "\xCB\xDF\xD9\xC8\xC9\xC2\xCA\xDE\xBB\xDE\x2C\x01"
      "\x82\xA0\x82\xA2\x82\xA4\x82\xA6\x82\xA8\xFF\x7F"
      "A\x82\xA0\x82\xA2\x82\xA4\x82\xA6 \x00\x80"
      "A??B?Z    \x00\x00"s;
  EXPECT_EQ(readFile(run.scr), written);

  // Read back; FF and A0 are no characters, 81 20 and 85 40 no pairs, a lead byte ends a name.
  ProgramRun next;
  writeFile(next.scr, written.substr(0, 48) + "\x41\xFF\x81\x20\x85\x40\xA0\x42\x80\x82\x05\x00"s);
  next.load();
  EXPECT_EQ(next.form.rankTable[1], table[1]);
  EXPECT_EQ(next.form.rankTable[2], (RankRecord{u"あいうえお     ", 32767}));
  EXPECT_EQ(next.form.rankTable[3], (RankRecord{u"Aあいうえ     ", -32768}));
  EXPECT_EQ(next.form.rankTable[4], (RankRecord{u"A?? ?@?B??", 5}));
}

TEST(ScrDat, AShortFileGivesWhatItHoldsAndALongerOneKeepsItsTail) {
  const std::string two = "PIRUNE    \x2D\x00"s + std::string(10, 'A') + "\xFF\xFF"s;
  const std::pair<std::string, RankRecord> shortCases[] = {
      {"", RankRecord{}}, {"ABCDE", {u"ABCDE     ", 0}}, {"HALFWAY   \x2D"s, {u"HALFWAY   ", 45}}};
  for (const auto& [third, expected] : shortCases) {
    ProgramRun run;
    writeFile(run.scr, two + third);
    run.load();
    EXPECT_EQ(run.form.rankTable, (RankTable{{{u"PIRUNE    ", 45}, {u"AAAAAAAAAA", -1}, expected}}))
        << third.size();
    run.unload();
    EXPECT_EQ(fs::file_size(run.scr), 60U);
  }
  ProgramRun run;
  writeFile(run.scr, two + std::string(36, 'x') + "tail");
  run.load();
  run.form.rankTable[0] = {fitName(u"NEW"), 99};
  // Someone else's bytes as they stand when the game ends, not as they stood at its start.
  std::ofstream(run.scr, std::ios::binary | std::ios::app) << "LATER";
  run.unload();
  EXPECT_EQ(readFile(run.scr),
            "NEW       \x63\x00"s + two.substr(12) + std::string(36, 'x') + "tailLATER");
}

TEST(ScrDat, ASaveThatFailsKeepsTheOldFileAndTheRunSavesOnlyOnce) {
  const std::string temporary = ".scr.dat.tmp-" + std::to_string(::getpid());
  const std::string old = std::string(24, 'o') + std::string(36, 'p') + "tail";
  const struct {
    const char* step;
    const char* why;
    std::function<void(ProgramRun&)> before;
  } cases[] = {
      {"the new file", "Is a directory",
       [&](ProgramRun& r) { fs::create_directory(r.platform.folder / temporary); }},
      {"the rename", "Is a directory",  // a folder with something in it where scr.dat was
       [](ProgramRun& r) {
         fs::rename(r.scr, r.platform.folder / "moved");
         fs::create_directories(r.scr / "keep");
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.step);
    ProgramRun run;
    writeFile(run.scr, old);
    fs::permissions(run.scr, fs::perms(0640));
    run.load();
    run.form.rankTable[0] = {fitName(u"NEW"), 99};
    c.before(run);
    const std::string error = run.unload();
    EXPECT_NE(error.find("ランキングファイル " + run.scr.string() + " を書き込めません: " + c.why),
              std::string::npos)
        << error;
    const fs::path kept = fs::is_directory(run.scr) ? run.platform.folder / "moved" : run.scr;
    EXPECT_EQ(readFile(kept), old);
    EXPECT_EQ(fs::status(kept).permissions(), fs::perms(0640));
    EXPECT_FALSE(fs::is_regular_file(run.platform.folder / temporary));
    EXPECT_EQ(run.unload(), "");  // the error's own save does not try again
    EXPECT_EQ(readFile(kept), old);
  }
}

TEST(ScrDat, ALinkedScrDatStaysALinkAndItsTargetKeepsItsPermissions) {
  ProgramRun run;
  fs::create_directory(run.platform.folder / "kept");
  const fs::path target = run.platform.folder / "kept" / "ranking";
  writeFile(target, std::string(60, ' '));
  fs::permissions(target, fs::perms(0604));
  fs::create_symlink("kept/ranking", run.scr);
  run.load();
  run.form.rankTable[0] = {fitName(u"LINKED"), 77};
  EXPECT_EQ(run.unload(), "");
  EXPECT_TRUE(fs::is_symlink(run.scr));
  EXPECT_EQ(readFile(target).substr(0, 12), "LINKED    \x4D\x00"s);
  EXPECT_EQ(fs::status(target).permissions(), fs::perms(0604));
}

// A pipe would hold the start for ever, waiting for a ranking that never comes.
TEST(ScrDat, APipeInPlaceOfTheFileStopsTheStartAndIsLeftAsItIs) {
  ProgramRun run;
  ::mkfifo(run.scr.c_str(), 0644);
  EXPECT_EQ(errorOf([&] { run.load(); }), "ランキングファイル " + run.scr.string() +
                                              " を開けません: 通常のファイルではありません");
  EXPECT_EQ(run.unload(), "");  // nothing was read, so nothing is written over it
  EXPECT_TRUE(fs::is_fifo(run.scr));
}

}  // namespace
}  // namespace pirune::testing
