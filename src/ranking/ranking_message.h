#pragma once
// The ranking as the ランキング menu shows it: the five entries, one a line.

#include <string>

#include "ranking/rank_record.h"

namespace pirune {

std::u16string rankingMessage(const RankTable& table);

}  // namespace pirune
