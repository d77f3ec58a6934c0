#include "host/world_ranking.h"

#include <string_view>
#include <utility>
#include <variant>

#include "flight/json_text.h"
#include "flight/record.h"
#include "game/decimal.h"

namespace pirune {

namespace {

// The server's sentence as the game's boxes take it; a byte that is no UTF-8 becomes U+FFFD.
std::u16string fromUtf8(std::string_view text) {
  std::u16string out;
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i++]);
    const std::size_t more = lead >= 0xF0U ? 3 : lead >= 0xE0U ? 2 : lead >= 0xC0U ? 1 : 0;
    char32_t point = more == 0 ? lead : lead & (0x3FU >> more);
    bool good = (lead < 0x80U || (lead >= 0xC0U && lead < 0xF8U)) && i + more <= text.size();
    for (std::size_t k = 0; good && k < more; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      good = (next & 0xC0U) == 0x80U;
      point = (point << 6U) | (next & 0x3FU);
    }
    if (!good || point > 0x10FFFF) {
      out.push_back(u'\uFFFD');
      continue;
    }
    i += more;
    if (point >= 0x10000) {
      point -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (point >> 10U)));
      out.push_back(static_cast<char16_t>(0xDC00 + (point & 0x3FFU)));
    } else {
      out.push_back(static_cast<char16_t>(point));
    }
  }
  return out;
}

std::u16string withoutPadding(std::u16string name) {
  while (!name.empty() && (name.back() == u' ' || name.back() == u'\0')) {
    name.pop_back();
  }
  return name;
}

}  // namespace

bool WorldRanking::flightBegan(bool endless, bool offered) {
  token_.reset();
  waiting_ = endless && offered;
  return waiting_;
}

void WorldRanking::tokenArrived(std::string token) {
  if (waiting_ && !token.empty()) {
    token_ = std::move(token);
  }
}

std::optional<WorldOffer> WorldRanking::rankingChanged(const std::optional<std::string>& last) {
  if (!waiting_) {
    return std::nullopt;
  }
  waiting_ = false;
  const std::optional<std::string> token = std::exchange(token_, std::nullopt);
  if (!token || !last) {
    return std::nullopt;
  }
  const auto decoded = flight::decode(*last);
  const auto* record = std::get_if<flight::Record>(&decoded);
  if (record == nullptr || !record->endless || record->rankedDistance <= kWorldFloor) {
    return std::nullopt;
  }
  const std::u16string name = withoutPadding(record->rankedName);
  if (name.empty()) {
    return std::nullopt;
  }
  return WorldOffer{*token, flight::utf8(name), *last, record->rankedDistance};
}

std::u16string WorldRanking::offerText(const WorldOffer& offer) {
  return u"この飛行（距離 " + decimal(offer.distance) + u"、" + fromUtf8(offer.name) +
         u"）を世界ランキングに送りますか？\n送るのは名前と飛行の記録だけです。";
}

std::u16string WorldRanking::unreachableText() { return u"世界ランキングにつながりません。"; }

std::u16string WorldRanking::replyText(const WorldReply& reply) {
  switch (reply.kind) {
    case WorldReply::Kind::Placed:
      return u"世界ランキングの " + decimal(reply.rank) + u" 位に入りました（距離 " +
             decimal(reply.distance) + u"）";
    case WorldReply::Kind::Refused:
      return u"世界ランキングに入りませんでした。\n" + fromUtf8(reply.sentence);
    case WorldReply::Kind::Unreachable: break;
  }
  return unreachableText() + u"ローカルのランキングはそのままです。";
}

}  // namespace pirune
