// A flight longer than 30 units earns a place in the ranking and a name; the menu shows all five.

#include <optional>
#include <string>
#include <utility>

#include "game/decimal.h"
#include "game/form.h"
#include "game/rules.h"
#include "ranking/ranking_message.h"

namespace pirune {

void FOM::RANKING_TOUROKU() {
  std::size_t place = kRankCount;
  for (std::size_t i = 0; i < kRankCount; ++i) {
    if (distance >= rankTable[i].score && distance > rules::kRankingAbove) {
      place = i;
      break;
    }
  }
  if (place == kRankCount) {
    return;
  }
  // The last entry drops out; it lands at the new place and is overwritten there.
  for (std::size_t j = kRankCount - 1; j > place; --j) {
    std::swap(rankTable[j], rankTable[j - 1]);
  }
  rankTable[place].score = distance;
  // Until the player has typed a name the place is blank, not the name of the entry that just
  // dropped out: a run-time error while the box is open saves the ranking as it stands.
  rankTable[place].name = fitName(u"");

  const std::u16string number = decimal(static_cast<long long>(place) + 1);
  const std::optional<std::u16string> name = askText(
      number + u"位を取りました。\r\nなんて長い距離でしょう、\r\n名前を入れてね！（半角10文字）",
      number + u"位");
  rankTable[place].name = fitName(name.value_or(u""));
}

std::u16string rankingMessage(const RankTable& table) {
  std::u16string text;
  for (std::size_t k = 0; k < kRankCount; ++k) {
    text += u"\r\n" + decimal(static_cast<long long>(k)) + u"・・・" + table[k].name + u"(" +
            decimal(table[k].score) + u")";
  }
  return text;
}

}  // namespace pirune
