#include "host/flight_watch.h"

#include "game/decimal.h"

namespace pirune {

std::variant<std::unique_ptr<FlightWatch>, flight::Refusal> FlightWatch::start(
    std::string_view bytes, Platform& source, std::int64_t now) {
  auto flown = flight::reflight(bytes);
  if (auto* refused = std::get_if<flight::Refusal>(&flown)) {
    return *refused;
  }
  // reflight() has read these bytes once already: they decode.
  auto record = std::get<flight::Record>(flight::decode(bytes));
  return std::make_unique<FlightWatch>(std::move(record), std::get<flight::Outcome>(flown), source,
                                       now);
}

FlightWatch::FlightWatch(flight::Record record, flight::Outcome outcome, Platform& source,
                         std::int64_t now)
    : record_(std::move(record)),
      outcome_(std::move(outcome)),
      music_(source.music()),
      platform_(record_.musicIntervalMs, &source, &music_),
      player_(record_, platform_),
      start_(now) {}

void FlightWatch::playTo(std::int64_t now) {
  // Flown once already: nothing on the way can be refused.
  (void)player_.playUntil(now - start_);
}

std::optional<std::int64_t> FlightWatch::nextChange() const {
  const auto next = player_.nextChange();
  return next ? std::optional(*next + start_) : std::nullopt;
}

std::u16string FlightWatch::status() const {
  if (!player_.finished()) {
    return u"リプレイ中（クリックか Esc で終わります）";
  }
  const std::u16string distance = decimal(static_cast<long long>(outcome_.distance));
  switch (outcome_.end) {
    case flight::End::Goal: return u"リプレイ終わり：距離 " + distance + u"・ほしにとうちゃく";
    case flight::End::Wings: return u"リプレイ終わり：距離 " + distance + u"・翼がなくなった";
    case flight::End::Fall: return u"リプレイ終わり：距離 " + distance + u"・落ちた";
    case flight::End::Open: break;
  }
  return u"リプレイ終わり：距離 " + distance + u"・飛行の途中まで";
}

}  // namespace pirune
