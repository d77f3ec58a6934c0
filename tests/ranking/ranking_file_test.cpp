// scr.dat byte by byte: what start-up reads from real files and what the end of a run leaves.

#include <gtest/gtest.h>

#include "ranking/file_bytes.h"

namespace pirune::testing {
namespace {

const std::u16string kBlank(10, u' ');

TEST(RankingFile, NoFileIsCreatedAtStartAndHoldsFiveBlankRecordsAfterTheEnd) {
  ProgramRun run;
  ASSERT_FALSE(std::filesystem::exists(run.scr()));
  run.load();
  ASSERT_TRUE(std::filesystem::is_regular_file(run.scr()));
  EXPECT_EQ(std::filesystem::file_size(run.scr()), 0U);
  for (const RankRecord& record : run.form.rankTable) {
    EXPECT_EQ(record.name, kBlank);
    EXPECT_EQ(record.score, 0);
  }

  run.unload();
  std::string expected;
  for (int n = 0; n < 5; ++n) {
    expected += blankRecord();
  }
  EXPECT_EQ(readFile(run.scr()), expected);
  EXPECT_EQ(expected.size(), 60U);
}

TEST(RankingFile, EveryByteOfAWrittenFileFollowsTheRecordLayout) {
  ProgramRun run;
  run.load();
  RankTable& table = run.form.rankTable;
  table[0] = {fitName(u"ABC"), 45};
  table[1] = {fitName(u"ピルネ"), -1};
  table[2] = {fitName(u"ﾋﾟﾙﾈﾉﾂﾊﾞｻﾞ"), 300};
  table[3] = {fitName(u"Ωx"), 32767};
  table[4] = {std::u16string(10, u'\0'), -32768};
  run.unload();

  const std::string expected =
      // ABC, seven spaces, 45
      bytesOf({0x41, 0x42, 0x43, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x2D, 0x00}) +
      // three double-byte characters, four spaces, -1
      bytesOf({0x83, 0x73, 0x83, 0x8B, 0x83, 0x6C, 0x20, 0x20, 0x20, 0x20, 0xFF, 0xFF}) +
      // ten half-width katakana, one byte each, 300
      bytesOf({0xCB, 0xDF, 0xD9, 0xC8, 0xC9, 0xC2, 0xCA, 0xDE, 0xBB, 0xDE, 0x2C, 0x01}) +
      bytesOf({0x83, 0xB6, 0x78, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0xFF, 0x7F}) +
      bytesOf({0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80});
  EXPECT_EQ(readFile(run.scr()), expected);

  ProgramRun next;
  writeFile(next.scr(), expected);
  next.load();
  EXPECT_EQ(next.form.rankTable, table);
}

TEST(RankingFile, AShortFileFillsTheRecordsItHoldsAndTheRestAreBlank) {
  ProgramRun run;
  // 24 bytes: two whole records.
  writeFile(run.scr(), bytesOf({0x50, 0x49, 0x52, 0x55, 0x4E, 0x45, 0x20, 0x20, 0x20, 0x20,  //
                                0x2D, 0x00}) +
                           bytesOf({0x41, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20,  //
                                    0xFF, 0xFF}));
  run.load();
  const RankTable& table = run.form.rankTable;
  EXPECT_EQ(table[0], (RankRecord{u"PIRUNE    ", 45}));
  EXPECT_EQ(table[1], (RankRecord{u"A         ", -1}));
  for (int i = 2; i < 5; ++i) {
    EXPECT_EQ(table[i], RankRecord{}) << i;
  }
  run.unload();
  EXPECT_EQ(std::filesystem::file_size(run.scr()), 60U);
}

TEST(RankingFile, ARecordCutShortIsReadFromTheBytesThatAreThere) {
  const std::string two = repeat(0x41, 10) + bytesOf({1, 0}) + repeat(0x42, 10) + bytesOf({2, 0});
  struct Case {
    std::string third;
    RankRecord expected;
  };
  const std::vector<Case> cases = {
      {"ABCDE", {u"ABCDE     ", 0}},
      {"HALFWAY   " + bytesOf({0x2D}), {u"HALFWAY   ", 45}},
      // A lead byte at the end of the file meets the blank that stands for the missing byte.
      {"ABCDEFGH" + bytesOf({0x82}), {u"ABCDEFGH? ", 0}},
      {"ABCDEFGHI" + bytesOf({0x82}), {u"ABCDEFGHI?", 0}},
  };
  for (const Case& c : cases) {
    ProgramRun run;
    writeFile(run.scr(), two + c.third);
    run.load();
    EXPECT_EQ(run.form.rankTable[0], (RankRecord{u"AAAAAAAAAA", 1}));
    EXPECT_EQ(run.form.rankTable[1], (RankRecord{u"BBBBBBBBBB", 2}));
    EXPECT_EQ(run.form.rankTable[2], c.expected) << c.third.size() << " bytes";
    EXPECT_EQ(run.form.rankTable[3], RankRecord{});
  }
}

TEST(RankingFile, ALongerFileKeepsItsBytesAfterTheFifthRecord) {
  ProgramRun run;
  std::string content;
  for (int n = 1; n <= 5; ++n) {
    content += repeat('0' + n, 10) + bytesOf({n, 0});
  }
  const std::string tail = bytesOf({0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0xFF});
  writeFile(run.scr(), content + tail);
  run.load();
  EXPECT_EQ(run.form.rankTable[4], (RankRecord{u"5555555555", 5}));
  run.form.rankTable[0] = {fitName(u"NEW"), 99};

  // Someone else's bytes as they stand when the game ends, not as they stood at start.
  const std::string later = tail + "LATER";
  {
    std::ofstream out(run.scr(), std::ios::binary | std::ios::app);
    out << "LATER";
  }
  run.unload();
  const std::string written = readFile(run.scr());
  ASSERT_EQ(written.size(), 75U);
  EXPECT_EQ(written.substr(0, 12), bytesOf({0x4E, 0x45, 0x57, 0x20, 0x20, 0x20, 0x20, 0x20,  //
                                            0x20, 0x20, 0x63, 0x00}));
  EXPECT_EQ(written.substr(12, 48), content.substr(12, 48));
  EXPECT_EQ(written.substr(60), later);
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
  EXPECT_EQ(written.substr(0, 10),
            bytesOf({0x82, 0xA0, 0x82, 0xA2, 0x82, 0xA4, 0x82, 0xA6, 0x82, 0xA8}));
  EXPECT_EQ(written.substr(12, 10),
            bytesOf({0x41, 0x82, 0xA0, 0x82, 0xA2, 0x82, 0xA4, 0x82, 0xA6, 0x20}));
  EXPECT_EQ(written.substr(24, 10),
            bytesOf({0xB1, 0xB2, 0xB3, 0xB4, 0xB5, 0x82, 0xA9, 0x82, 0xAB, 0x20}));

  ProgramRun next;
  writeFile(next.scr(), written);
  next.load();
  EXPECT_EQ(next.form.rankTable[0].name, u"あいうえお     ");
  EXPECT_EQ(next.form.rankTable[1].name, u"Aあいうえ     ");
  EXPECT_EQ(next.form.rankTable[2].name, u"ｱｲｳｴｵかき   ");
}

TEST(RankingFile, CharactersTheCodePageLacksAreWrittenAsQuestionMarks) {
  ProgramRun run;
  run.load();
  // é has no place in code page 932, nor has the face outside the basic plane (one "?" for
  // its two code units), nor a half of such a pair on its own.
  run.form.rankTable[0].name = u"Aé\U0001F600B\xD800Z   ";
  ASSERT_EQ(run.form.rankTable[0].name.size(), 10U);
  // The yen sign shares its byte with the backslash.
  run.form.rankTable[1].name = fitName(u"¥100");
  run.unload();

  const std::string written = readFile(run.scr());
  EXPECT_EQ(written.substr(0, 10),
            bytesOf({0x41, 0x3F, 0x3F, 0x42, 0x3F, 0x5A, 0x20, 0x20, 0x20, 0x20}));
  EXPECT_EQ(written.substr(12, 10),
            bytesOf({0x5C, 0x31, 0x30, 0x30, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20}));
  ProgramRun next;
  writeFile(next.scr(), written);
  next.load();
  EXPECT_EQ(next.form.rankTable[0].name, u"A??B?Z    ");
  EXPECT_EQ(next.form.rankTable[1].name, u"\\100      ");
}

TEST(RankingFile, BytesThatDoNotDecodeReadAsOneQuestionMarkEach) {
  ProgramRun run;
  // FF and A0 are no characters, 81 20 and 85 40 are no pairs (the 20 and 40 stay what they
  // are), and a lead byte ends the name.
  const std::string names =
      bytesOf({0x41, 0xFF, 0x81, 0x20, 0x85, 0x40, 0xA0, 0x42, 0x80, 0x82, 0x05, 0x00}) +
      bytesOf({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00});
  writeFile(run.scr(), names);
  run.load();
  EXPECT_EQ(run.form.rankTable[0], (RankRecord{u"A?? ?@?B??", 5}));
  EXPECT_EQ(run.form.rankTable[1], (RankRecord{u"??????????", 0}));
  // The game goes on with them: the ranking shows them.
  run.form.mnu3_Click();
  ASSERT_FALSE(run.platform.boxes.empty());
  EXPECT_NE(run.platform.boxes.back().text.find(u"0・・・A?? ?@?B??"
                                                u"(5)"),
            std::u16string::npos);
}

TEST(RankingFile, NulNamesFromTheFileAreUsedAndWrittenUnchanged) {
  ProgramRun run;
  const std::string content = repeat(0x00, 12) + bytesOf({0x41, 0x00, 0x42, 0x00, 0x00, 0x00, 0x00,
                                                          0x00, 0x00, 0x00, 0x00, 0x00});
  writeFile(run.scr(), content);
  run.load();
  EXPECT_EQ(run.form.rankTable[0].name, std::u16string(10, u'\0'));
  EXPECT_EQ(run.form.rankTable[1].name, std::u16string(u"A\0B\0\0\0\0\0\0\0", 10));
  run.unload();
  EXPECT_EQ(readFile(run.scr()), content + blankRecord() + blankRecord() + blankRecord());
}

}  // namespace
}  // namespace pirune::testing
