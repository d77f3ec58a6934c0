// A flight longer than 30 takes its place in the ranking; the ranking menu shows all five.

#include <gtest/gtest.h>

#include "support/scripted_platform.h"

namespace pirune::testing {
namespace {

// Each place as "NAME:score", the name without the padding that every name must have.
std::string listing(const RankTable& table) {
  std::string text;
  for (const RankRecord& record : table) {
    EXPECT_EQ(record.name.size(), kNameLength);
    const std::u16string name = record.name.substr(0, record.name.find_last_not_of(u' ') + 1);
    text += (text.empty() ? "" : " ") + std::string(name.begin(), name.end()) + ":" +
            std::to_string(record.score);
  }
  return text;
}

TEST(RankingEntry, AFlightTakesTheFirstPlaceItReachesAboveTiesAndTheLastEntryDropsOut) {
  const struct {
    std::array<std::int16_t, 5> scores;  // of A to E
    std::int16_t distance;
    std::optional<std::u16string> answer;
    std::u16string place;  // empty: no place and no box
    std::string after;
  } cases[] = {
      {{0, 0, 0, 0, 0}, 30, u"X", u"", "A:0 B:0 C:0 D:0 E:0"},  // 30 never qualifies
      {{0, 0, 0, 0, 0}, 31, u"PIRUNE", u"1", "PIRUNE:31 A:0 B:0 C:0 D:0"},
      {{120, 80, 80, 40, 0}, 80, u"NEW", u"2", "A:120 NEW:80 B:80 C:80 D:40"},
      {{120, 80, 60, 40, 35}, 35, u"LAST", u"5", "A:120 B:80 C:60 D:40 LAST:35"},
      {{120, 80, 60, 40, 35}, 34, u"X", u"", "A:120 B:80 C:60 D:40 E:35"},
      {{100, 20, 200, -1, 40}, 50, u"X", u"2", "A:100 X:50 B:20 C:200 D:-1"},  // not sorted
      {{0, 0, 0, 0, 0}, 45, std::nullopt, u"1", ":45 A:0 B:0 C:0 D:0"},        // cancelled
      {{0, 0, 0, 0, 0}, 45, u"ICARUS-PIRUNE", u"1", "ICARUS-PIR:45 A:0 B:0 C:0 D:0"},
      {{400, 0, 0, 0, 0}, 300, u"FAR", u"2", "A:400 FAR:300 B:0 C:0 D:0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.after);
    Game game;
    for (std::size_t i = 0; i < 5; ++i) {
      game.form.rankTable[i] = {fitName(std::u16string(1, static_cast<char16_t>(u'A' + i))),
                                c.scores[i]};
    }
    game.form.distance = c.distance;
    game.platform.answers.push_back(c.answer);
    game.form.RANKING_TOUROKU();
    EXPECT_EQ(listing(game.form.rankTable), c.after);
    EXPECT_EQ(game.form.distance, c.distance);
    ASSERT_EQ(game.platform.boxes.size(), c.place.empty() ? 0U : 1U);
    if (!c.place.empty()) {
      EXPECT_TRUE(game.platform.boxes[0].input);
      EXPECT_EQ(game.platform.boxes[0].title, c.place + u"位");
      EXPECT_EQ(
          game.platform.boxes[0].text,
          c.place + u"位を取りました。\nなんて長い距離でしょう、\n名前を入れてね！（半角10文字）");
    }
  }
}

}  // namespace
}  // namespace pirune::testing
