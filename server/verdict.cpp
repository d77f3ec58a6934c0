#include "verdict.h"

#include <array>

#include "flight/json_text.h"
#include "game/rules.h"
#include "ranking/cp932.h"
#include "ranking/scr_dat.h"

namespace pirune::server {

Refused refused(Why why) {
  switch (why) {
    case Why::BadRequest: return {400, "bad_request", "送られた内容が読めませんでした。"};
    case Why::TooLarge: return {413, "too_large", "送られた内容が大きすぎます。"};
    case Why::TooMany:
      return {429, "too_many", "送る回数が多すぎます。少し待ってから、もう一度送ってください。"};
    case Why::UnknownToken:
      return {403, "unknown_token",
              "この飛行は受け付けていません。新しく飛んでから送ってください。"};
    case Why::UsedToken: return {409, "used_token", "この飛行はもう送られています。"};
    case Why::ExpiredToken:
      return {410, "expired_token", "受付の期限が切れました。新しく飛んでから送ってください。"};
    case Why::TooFast:
      return {422, "too_fast",
              "飛行の長さだけの時間がまだ経っていません。この記録は数えられません。"};
    case Why::TooLate:
      return {422, "too_late", "飛び終えてから時間が経ちすぎました。この記録は数えられません。"};
    case Why::NotEndless:
      return {422, "not_endless", "世界ランキングに入るのは無限モードの飛行だけです。"};
    case Why::NotPast30:
      return {422, "not_past_30", "世界ランキングに入るのは距離 30 を越えた飛行だけです。"};
    case Why::NotRanked:
      return {422, "not_ranked", "途中で閉じられた飛行はランキングに入りません。"};
    case Why::BadName: return {400, "bad_name", "名前に使えない文字があります。"};
    case Why::EmptyName: return {400, "empty_name", "名前を入れてください。"};
    case Why::BadBase64: return {400, "bad_base64", "飛行の記録が読めませんでした。"};
    case Why::NotFound: return {404, "not_found", "見つかりません。"};
    case Why::NoDatabase:
      return {503, "no_database", "世界ランキングは今休んでいます。後でもう一度どうぞ。"};
    case Why::Failed:
      return {500, "failed", "世界ランキングで問題が起きました。後でもう一度どうぞ。"};
  }
  return {500, "failed", "世界ランキングで問題が起きました。"};
}

Refused refused(const flight::Refusal& refusal) {
  return {422, std::string(flight::reasonWord(refusal.reason)),
          flight::utf8(flight::reasonText(refusal.reason))};
}

namespace {

// UTF-8 to code points; none for bytes that are not UTF-8 (nlohmann's parser already refuses
// them, but the name's rule should not lean on that).
std::optional<std::u32string> codePoints(std::string_view text) {
  std::u32string out;
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = lead < 0x80        ? 1
                               : lead >> 5U == 6  ? 2
                               : lead >> 4U == 14 ? 3
                               : lead >> 3U == 30 ? 4
                                                  : 0;
    if (length == 0 || i + length > text.size()) {
      return std::nullopt;
    }
    char32_t c = length == 1 ? lead : lead & (0x7FU >> length);
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if (next >> 6U != 2) {
        return std::nullopt;
      }
      c = (c << 6U) | (next & 0x3FU);
    }
    constexpr std::array<char32_t, 5> kLeast{0, 0, 0x80, 0x800, 0x10000};
    if (c < kLeast.at(length) || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
      return std::nullopt;
    }
    out.push_back(c);
    i += length;
  }
  return out;
}

// What a name may not hold: C0 and C1 controls, DEL, the line and paragraph separators, and
// the marks that turn text's direction, which would make a name shown in a list lie about its
// neighbours.
bool isControl(char32_t c) {
  return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029 ||
         (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) || c == 0x200E ||
         c == 0x200F || c == 0x061C;
}

}  // namespace

std::variant<std::string, Refused> rankedName(std::string_view utf8) {
  const auto points = codePoints(utf8);
  if (!points) {
    return refused(Why::BadName);
  }
  std::u16string units;
  for (const char32_t c : *points) {
    if (isControl(c)) {
      return refused(Why::BadName);
    }
    if (c >= 0x10000) {
      units.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10U)));
      units.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FFU)));
    } else {
      units.push_back(static_cast<char16_t>(c));
    }
  }
  std::u16string kept = cp932::decode(cp932::encodeFixed(units, kNameBytes));
  while (!kept.empty() && kept.back() == u' ') {
    kept.pop_back();
  }
  if (kept.empty()) {
    return refused(Why::EmptyName);
  }
  return flight::utf8(kept);
}

namespace {
constexpr std::string_view kAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
}

std::optional<std::string> fromBase64(std::string_view text) {
  if (text.size() % 4 != 0) {
    return std::nullopt;
  }
  std::array<int, 256> value{};
  value.fill(-1);
  for (std::size_t n = 0; n < kAlphabet.size(); ++n) {
    value.at(static_cast<unsigned char>(kAlphabet[n])) = static_cast<int>(n);
  }
  std::string out;
  out.reserve(text.size() / 4 * 3);
  for (std::size_t i = 0; i < text.size(); i += 4) {
    const bool last = i + 4 == text.size();
    const int pad = last ? (text[i + 3] == '=' ? (text[i + 2] == '=' ? 2 : 1) : 0) : 0;
    std::uint32_t group = 0;
    for (std::size_t k = 0; k < 4; ++k) {
      const int v = k >= 4 - static_cast<std::size_t>(pad)
                        ? 0
                        : value.at(static_cast<unsigned char>(text[i + k]));
      if (v < 0) {
        return std::nullopt;
      }
      group = (group << 6U) | static_cast<std::uint32_t>(v);
    }
    out.push_back(static_cast<char>(group >> 16U));
    if (pad < 2) {
      out.push_back(static_cast<char>((group >> 8U) & 0xFFU));
    }
    if (pad < 1) {
      out.push_back(static_cast<char>(group & 0xFFU));
    }
  }
  return out;
}

std::string toBase64(std::string_view bytes) {
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    std::uint32_t group = static_cast<unsigned char>(bytes[i]) << 16U;
    if (i + 1 < bytes.size()) {
      group |= static_cast<unsigned char>(bytes[i + 1]) << 8U;
    }
    if (i + 2 < bytes.size()) {
      group |= static_cast<unsigned char>(bytes[i + 2]);
    }
    out.push_back(kAlphabet[group >> 18U]);
    out.push_back(kAlphabet[(group >> 12U) & 0x3FU]);
    out.push_back(i + 1 < bytes.size() ? kAlphabet[(group >> 6U) & 0x3FU] : '=');
    out.push_back(i + 2 < bytes.size() ? kAlphabet[group & 0x3FU] : '=');
  }
  return out;
}

std::optional<Refused> judge(const flight::Outcome& outcome, std::int64_t elapsedMs,
                             const Timing& timing) {
  if (!outcome.endless) {
    return refused(Why::NotEndless);
  }
  if (outcome.distance <= rules::kRankingAbove) {
    return refused(Why::NotPast30);
  }
  if (!outcome.rankedDistance) {
    return refused(Why::NotRanked);
  }
  if (elapsedMs < outcome.durationMs - timing.leewayMs) {
    return refused(Why::TooFast);
  }
  if (elapsedMs > outcome.durationMs + timing.slackMs) {
    return refused(Why::TooLate);
  }
  return std::nullopt;
}

}  // namespace pirune::server
