// A flight longer than 30 takes its place in the ranking; the ranking menu shows all five.

#include <gtest/gtest.h>

#include "support/scripted_platform.h"

namespace pirune::testing {
namespace {

RankTable withScores(std::array<std::int16_t, 5> scores) {
  RankTable table;
  for (std::size_t i = 0; i < 5; ++i) {
    table[i] = {fitName(std::u16string(1, static_cast<char16_t>(u'A' + i))), scores[i]};
  }
  return table;
}

std::array<std::int16_t, 5> scoresOf(const RankTable& table) {
  std::array<std::int16_t, 5> scores{};
  for (std::size_t i = 0; i < 5; ++i) {
    scores[i] = table[i].score;
  }
  return scores;
}

std::u16string prompt(const std::u16string& place) {
  return place + u"位を取りました。\r\nなんて長い距離でしょう、\r\n名前を入れてね！（半角10文字）";
}

TEST(RankingEntry, ThirtyNeverQualifiesAndThirtyOneTakesTheTop) {
  Game game;
  FOM& f = game.form;
  game.platform.boxes.clear();
  for (const RankTable& table : {RankTable{}, withScores({-5, -6, -7, -8, -9})}) {
    f.rankTable = table;
    f.distance = 30;
    f.RANKING_TOUROKU();
    EXPECT_TRUE(game.platform.boxes.empty());
    EXPECT_EQ(f.rankTable, table);
  }

  f.rankTable = RankTable{};
  f.distance = 31;
  game.platform.answers.push_back(u"PIRUNE");
  f.RANKING_TOUROKU();
  ASSERT_EQ(game.platform.boxes.size(), 1U);
  EXPECT_TRUE(game.platform.boxes[0].input);
  EXPECT_EQ(game.platform.boxes[0].text, prompt(u"1"));
  EXPECT_EQ(game.platform.boxes[0].title, u"1位");
  EXPECT_EQ(f.rankTable[0], (RankRecord{u"PIRUNE    ", 31}));
  EXPECT_EQ(f.rankTable[1], RankRecord{});
  EXPECT_EQ(f.distance, 31);
}

TEST(RankingEntry, TiesGoAboveAndTheLastEntryDropsOut) {
  Game game;
  FOM& f = game.form;
  f.rankTable = withScores({120, 80, 80, 40, 0});
  f.distance = 80;
  game.platform.answers.push_back(u"NEW");
  f.RANKING_TOUROKU();
  EXPECT_EQ(scoresOf(f.rankTable), (std::array<std::int16_t, 5>{120, 80, 80, 80, 40}));
  EXPECT_EQ(f.rankTable[0].name, u"A         ");
  EXPECT_EQ(f.rankTable[1].name, u"NEW       ");
  EXPECT_EQ(f.rankTable[2].name, u"B         ");
  EXPECT_EQ(f.rankTable[3].name, u"C         ");
  EXPECT_EQ(f.rankTable[4].name, u"D         ");
  ASSERT_EQ(game.platform.boxes.size(), 1U);
  EXPECT_EQ(game.platform.boxes[0].text, prompt(u"2"));
  EXPECT_EQ(game.platform.boxes[0].title, u"2位");
}

TEST(RankingEntry, TheLastPlaceIsReplacedAndNothingMoves) {
  Game game;
  FOM& f = game.form;
  f.rankTable = withScores({120, 80, 60, 40, 35});
  f.distance = 35;
  game.platform.answers.push_back(u"LAST");
  f.RANKING_TOUROKU();
  EXPECT_EQ(scoresOf(f.rankTable), (std::array<std::int16_t, 5>{120, 80, 60, 40, 35}));
  EXPECT_EQ(f.rankTable[3].name, u"D         ");
  EXPECT_EQ(f.rankTable[4].name, u"LAST      ");
  EXPECT_EQ(game.platform.boxes.at(0).title, u"5位");

  // Below all five: no box, no change.
  const RankTable before = f.rankTable;
  f.distance = 34;
  f.RANKING_TOUROKU();
  EXPECT_EQ(f.rankTable, before);
  EXPECT_EQ(game.platform.boxes.size(), 1U);
}

TEST(RankingEntry, AnUnsortedTableIsNotSorted) {
  Game game;
  FOM& f = game.form;
  f.rankTable = withScores({100, 20, 200, -1, 40});
  f.distance = 50;
  game.platform.answers.push_back(u"X");
  f.RANKING_TOUROKU();
  EXPECT_EQ(scoresOf(f.rankTable), (std::array<std::int16_t, 5>{100, 50, 20, 200, -1}));
  EXPECT_EQ(f.rankTable[1].name, u"X         ");
}

TEST(RankingEntry, TheNameIsFittedAndACancelledBoxKeepsTheScore) {
  Game game;
  FOM& f = game.form;
  f.distance = 40;
  game.platform.answers.push_back(u"ABCDEFGHIJKL");
  f.RANKING_TOUROKU();
  EXPECT_EQ(f.rankTable[0], (RankRecord{u"ABCDEFGHIJ", 40}));

  f.distance = 45;
  game.platform.answers.push_back(std::nullopt);
  f.RANKING_TOUROKU();
  EXPECT_EQ(f.rankTable[0], (RankRecord{std::u16string(10, u' '), 45}));
  EXPECT_EQ(f.rankTable[1], (RankRecord{u"ABCDEFGHIJ", 40}));

  f.distance = 50;
  game.platform.answers.push_back(u"");
  f.RANKING_TOUROKU();
  EXPECT_EQ(f.rankTable[0], (RankRecord{std::u16string(10, u' '), 50}));

  // Beyond an 8-bit distance, an endless flight keeps its whole score.
  f.distance = 300;
  game.platform.answers.push_back(u"FAR");
  f.RANKING_TOUROKU();
  EXPECT_EQ(f.rankTable[0], (RankRecord{u"FAR       ", 300}));
  EXPECT_EQ(scoresOf(f.rankTable), (std::array<std::int16_t, 5>{300, 50, 45, 40, 0}));
}

TEST(RankingEntry, TheRankingMessageListsTheFiveFromZero) {
  Game game;
  FOM& f = game.form;
  game.platform.boxes.clear();
  f.mnu3_Click();
  ASSERT_EQ(game.platform.boxes.size(), 1U);
  EXPECT_FALSE(game.platform.boxes[0].input);
  EXPECT_EQ(game.platform.boxes[0].title, u"ピルネノ翼");
  EXPECT_EQ(game.platform.boxes[0].text,
            u"\r\n0・・・          (0)\r\n1・・・          (0)\r\n2・・・          (0)"
            u"\r\n3・・・          (0)\r\n4・・・          (0)");

  f.rankTable[0] = {fitName(u"ABC"), 45};
  f.rankTable[3] = {fitName(u"ピルネ"), -1};
  f.rankTable[4] = {fitName(u"ABCDEFGHIJ"), 300};
  const RankTable before = f.rankTable;
  f.mnu3_Click();
  EXPECT_EQ(game.platform.boxes.at(1).text,
            u"\r\n0・・・ABC       (45)\r\n1・・・          (0)\r\n2・・・          (0)"
            u"\r\n3・・・ピルネ       (-1)\r\n4・・・ABCDEFGHIJ(300)");
  EXPECT_EQ(f.rankTable, before);
}

// The fresh start in the middle of an endless flight offers the flight once, and however long
// the player takes over the name, the flight does not go on behind the box.
TEST(RankingEntry, AFreshStartDuringAnEndlessFlightEntersItOnce) {
  Game game;
  FOM& f = game.form;
  f.mnu1_Click(1);
  ASSERT_TRUE(f.mnu1[1]->Checked());
  game.startFlight();
  ASSERT_EQ(game.scene(), u"");
  // Beat by beat, letting the flight timer bring the hero back to mid-height each time.
  for (int beat = 0; beat < 70; ++beat) {
    game.click();
    while (f.altitude > 50) {
      game.run(10);
    }
    ASSERT_EQ(game.scene(), u"") << "beat " << beat;
  }
  ASSERT_EQ(f.distance, 36);
  ASSERT_TRUE(f.piruneTIM.Enabled());
  ASSERT_EQ(f.piruneTIM.Interval(), 90);

  game.platform.boxes.clear();
  const std::size_t pictures = game.platform.picturesLoaded.size();
  std::vector<std::int16_t> altitudesInBox;
  game.platform.whileBoxOpen = [&] {
    // Ten minutes over the name: without the hold the hero would fall many times over.
    for (int second = 0; second < 600; ++second) {
      game.run(1000);
      altitudesInBox.push_back(f.altitude);
    }
  };
  game.platform.answers.push_back(u"ENDLESS");
  f.mnu2_Click();
  game.platform.whileBoxOpen = nullptr;

  ASSERT_EQ(game.platform.boxes.size(), 1U);
  EXPECT_EQ(game.platform.boxes[0].title, u"1位");
  EXPECT_EQ(f.rankTable[0], (RankRecord{u"ENDLESS   ", 36}));
  EXPECT_EQ(f.rankTable[1], RankRecord{});
  EXPECT_EQ(altitudesInBox, std::vector<std::int16_t>(600, 50));
  // The new game as the routine sets it up, and only the title picture loaded for it.
  EXPECT_EQ(game.scene(), u"open");
  EXPECT_EQ(f.scenePage, 0);
  EXPECT_EQ(f.distance, 1);
  EXPECT_EQ(f.altitude, 50);
  EXPECT_EQ(f.meltCount, 1);
  EXPECT_FALSE(f.piruneTIM.Enabled());
  EXPECT_FALSE(f.SHPTIM.Enabled());
  EXPECT_FALSE(f.IMG.Visible());
  EXPECT_EQ(game.caption(), u"");
  EXPECT_EQ(std::vector<std::string>(
                game.platform.picturesLoaded.begin() + static_cast<std::ptrdiff_t>(pictures),
                game.platform.picturesLoaded.end()),
            std::vector<std::string>{"stt.bmp"});

  // Nothing is left to end the flight later, nor to offer it again.
  game.run(60000);
  EXPECT_EQ(game.scene(), u"open");
  EXPECT_EQ(f.distance, 1);
  f.mnu2_Click();
  EXPECT_EQ(game.platform.boxes.size(), 1U);
  EXPECT_EQ(f.rankTable[0], (RankRecord{u"ENDLESS   ", 36}));
}

}  // namespace
}  // namespace pirune::testing
