// scr.dat byte by byte: what start-up reads from real files and what the end of a run leaves.

#include <gtest/gtest.h>

#include "ranking/file_bytes.h"

namespace pirune::testing {
namespace {

TEST(RankingFile, NoFileIsCreatedAtStartAndHoldsFiveBlankRecordsAfterTheEnd) {
  ProgramRun run;
  ASSERT_FALSE(std::filesystem::exists(run.scr()));
  run.load();
  ASSERT_TRUE(std::filesystem::is_regular_file(run.scr()));
  EXPECT_EQ(std::filesystem::file_size(run.scr()), 0U);
  EXPECT_EQ(run.form.rankTable, RankTable{});
  run.unload();
  EXPECT_EQ(readFile(run.scr()),
            blankRecord() + blankRecord() + blankRecord() + blankRecord() + blankRecord());
}

TEST(RankingFile, EveryByteOfAWrittenFileFollowsTheRecordLayoutAndReadsBack) {
  ProgramRun run;
  run.load();
  RankTable& table = run.form.rankTable;
  table[0] = {fitName(u"ABC"), 45};
  table[1] = {fitName(u"ピルネ"), -1};
  table[2] = {fitName(u"ﾋﾟﾙﾈﾉﾂﾊﾞｻﾞ"), 300};
  table[3] = {fitName(u"Ωx"), 32767};
  table[4] = {std::u16string(u"A\0B\0\0\0\0\0\0\0", 10), -32768};
  run.unload();

  const std::string expected = hex("41 42 43 20 20 20 20 20 20 20 2D 00") +  // ABC, 45
                               hex("83 73 83 8B 83 6C 20 20 20 20 FF FF") +  // ピルネ, -1
                               hex("CB DF D9 C8 C9 C2 CA DE BB DE 2C 01") +  // half-width, 300
                               hex("83 B6 78 20 20 20 20 20 20 20 FF 7F") +
                               // NULs are characters like any other, not the end of the name
                               hex("41 00 42 00 00 00 00 00 00 00 00 80");
  EXPECT_EQ(readFile(run.scr()), expected);

  ProgramRun next;
  writeFile(next.scr(), expected);
  next.load();
  EXPECT_EQ(next.form.rankTable, table);
}

TEST(RankingFile, AShortFileFillsTheRecordsItHoldsFromTheBytesThatAreThere) {
  const std::string two = "PIRUNE    " + hex("2D 00") + repeat(0x41, 10) + hex("FF FF");
  const std::pair<std::string, RankRecord> cases[] = {
      {"", RankRecord{}},  // 24 bytes: two whole records
      {"ABCDE", {u"ABCDE     ", 0}},
      {"HALFWAY   " + hex("2D"), {u"HALFWAY   ", 45}},
  };
  for (const auto& [third, expected] : cases) {
    ProgramRun run;
    writeFile(run.scr(), two + third);
    run.load();
    EXPECT_EQ(run.form.rankTable[0], (RankRecord{u"PIRUNE    ", 45}));
    EXPECT_EQ(run.form.rankTable[1], (RankRecord{u"AAAAAAAAAA", -1}));
    EXPECT_EQ(run.form.rankTable[2], expected) << third.size() << " bytes";
    EXPECT_EQ(run.form.rankTable[3], RankRecord{});
    EXPECT_EQ(run.form.rankTable[4], RankRecord{});
    run.unload();
    EXPECT_EQ(std::filesystem::file_size(run.scr()), 60U);
  }
}

TEST(RankingFile, ALongerFileKeepsItsBytesAfterTheFifthRecord) {
  ProgramRun run;
  std::string content;
  for (int n = 1; n <= 5; ++n) {
    content += repeat('0' + n, 10) + repeat(n, 1) + hex("00");
  }
  const std::string tail = hex("00 01 02 03 04 05 06 07 08 FF");
  writeFile(run.scr(), content + tail);
  run.load();
  EXPECT_EQ(run.form.rankTable[4], (RankRecord{u"5555555555", 5}));
  run.form.rankTable[0] = {fitName(u"NEW"), 99};
  // Someone else's bytes as they stand when the game ends, not as they stood at start.
  std::ofstream(run.scr(), std::ios::binary | std::ios::app) << "LATER";
  run.unload();
  EXPECT_EQ(readFile(run.scr()), "NEW       " + hex("63 00") + content.substr(12) + tail + "LATER");
}

TEST(RankingFile, FullWidthNamesKeepWhatFitsInTenBytes) {
  ProgramRun run;
  run.load();
  run.form.rankTable[0].name = u"あいうえおかきくけこ";
  // The fifth double-byte character would need bytes 10 and 11: it goes, byte 10 is a blank.
  run.form.rankTable[1].name = u"Aあいうえおかきくけ";
  run.form.rankTable[2].name = u"ｱｲｳｴｵかきくけこ";
  run.unload();
  const std::string written = readFile(run.scr());
  EXPECT_EQ(written.substr(0, 10), hex("82 A0 82 A2 82 A4 82 A6 82 A8"));
  EXPECT_EQ(written.substr(12, 10), hex("41 82 A0 82 A2 82 A4 82 A6 20"));
  EXPECT_EQ(written.substr(24, 10), hex("B1 B2 B3 B4 B5 82 A9 82 AB 20"));

  ProgramRun next;
  writeFile(next.scr(), written);
  next.load();
  EXPECT_EQ(next.form.rankTable[0].name, u"あいうえお     ");
  EXPECT_EQ(next.form.rankTable[1].name, u"Aあいうえ     ");
  EXPECT_EQ(next.form.rankTable[2].name, u"ｱｲｳｴｵかき   ");
}

TEST(RankingFile, CharactersWithoutAPlaceInTheCodePageBecomeOneQuestionMarkEach) {
  ProgramRun run;
  run.load();
  // é has no place in code page 932, nor has the face outside the basic plane (one "?" for
  // its two code units), nor a half of such a pair on its own.
  run.form.rankTable[0].name = u"Aé\U0001F600B\xD800Z   ";
  ASSERT_EQ(run.form.rankTable[0].name.size(), 10U);
  run.unload();
  EXPECT_EQ(readFile(run.scr()).substr(0, 10), "A??B?Z    ");

  // Read the other way: FF and A0 are no characters, 81 20 and 85 40 are no pairs (the 20 and
  // 40 stay what they are), and a lead byte ends the name.
  ProgramRun next;
  writeFile(next.scr(),
            hex("41 FF 81 20 85 40 A0 42 80 82 05 00") + repeat(0xFF, 10) + hex("00 00"));
  next.load();
  EXPECT_EQ(next.form.rankTable[0], (RankRecord{u"A?? ?@?B??", 5}));
  EXPECT_EQ(next.form.rankTable[1], (RankRecord{u"??????????", 0}));
}

}  // namespace
}  // namespace pirune::testing
