// A record is untrusted bytes: each malformed one is refused with its reason, whatever it is.

#include <gtest/gtest.h>

#include <functional>
#include <variant>

#include "flight/flight_player.h"
#include "support/live_session.h"

namespace pirune::testing {
namespace {

using flight::Reason;
using flight::Record;

// A short flight that fell, as the session recorded it.
std::string fallenFlight() {
  LiveSession live;
  live.startFlight();
  for (int beat = 0; beat < 12; ++beat) {
    live.wait(250);
    live.click();
  }
  live.wait(20000);
  return live.lastFlight();
}

std::optional<Reason> refusalOf(const std::string& bytes) {
  const auto flown = flight::reflight(bytes);
  const auto* refused = std::get_if<flight::Refusal>(&flown);
  return refused ? std::optional(refused->reason) : std::nullopt;
}

TEST(Record, EveryCutIsRefusedAsCutShortAndTheWholeFlies) {
  const std::string whole = fallenFlight();
  ASSERT_EQ(refusalOf(whole), std::nullopt);
  EXPECT_EQ(refusalOf(""), Reason::NotARecord);
  EXPECT_EQ(refusalOf("PFL"), Reason::NotARecord);
  for (std::size_t size = 4; size < whole.size(); ++size) {
    EXPECT_EQ(refusalOf(whole.substr(0, size)), Reason::CutShort) << "cut at byte " << size;
  }
}

TEST(Record, EachForgeryOrDamageIsRefusedWithItsReason) {
  const std::string whole = fallenFlight();
  const Record good = std::get<Record>(flight::decode(whole));
  const auto edited = [&good](const std::function<void(Record&)>& edit) {
    Record r = good;
    edit(r);
    return flight::encode(r);
  };
  // Where the first event begins: what precedes it is the same in a record of no events.
  Record empty = good;
  empty.events.clear();
  empty.stopAt = 0;
  const std::size_t firstEvent = flight::encode(empty).size() - 5;
  const auto press = [](std::int64_t at, int x, int y) {
    return flight::Event{.kind = flight::EventKind::Press, .at = at, .x = x, .y = y};
  };
  const struct {
    const char* what;
    Reason reason;
    std::string bytes;
  } cases[] = {
      {"a picture's bytes", Reason::NotARecord, std::string("GIF89a\x01\x00\x01\x00", 10)},
      {"format version 2", Reason::NewerFormat, std::string(whole).replace(4, 1, "\x02")},
      {"a newer game", Reason::NewerFormat, edited([](Record& r) { r.gameVersion = 101; })},
      {"a byte after the end", Reason::Malformed, whole + '\0'},
      {"an unknown kind of event", Reason::Malformed,
       std::string(whole).replace(firstEvent, 1, "\x07")},
      {"a name of eleven", Reason::Malformed,
       edited([](Record& r) { r.rankedName = u"ABCDEFGHIJK"; })},
      {"the stop before the fall", Reason::ImpossibleEvent,
       edited([](Record& r) { r.stopAt = r.events.back().at + 1; })},
      {"a beat after the fall", Reason::ImpossibleEvent, edited([&](Record& r) {
         r.stopAt += 1000;
         r.events.push_back(press(r.stopAt, 1, 1));
       })},
      {"a press outside the window", Reason::ImpossibleEvent,
       edited([&](Record& r) { r.events.insert(r.events.begin(), press(0, r.width, 0)); })},
      {"endless mode switched in flight", Reason::ImpossibleEvent, edited([](Record& r) {
         r.events.insert(r.events.begin(), {.kind = flight::EventKind::Option, .option = 1});
       })},
      {"a shape no new game makes", Reason::ImpossibleEvent,
       edited([](Record& r) { r.shapes[2].colour = 15; })},
      {"past the events' bound", Reason::TooLong,
       edited([&](Record& r) { r.events.resize(flight::kMaxEvents + 1, press(0, 1, 1)); })},
      {"past eight hours", Reason::TooLong, edited([](Record& r) {
         r.stopAt = flight::kMaxDurationMs + 1;
         r.stop = flight::Stop::Closed;
       })},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(refusalOf(c.bytes), c.reason) << c.what;
  }
}

}  // namespace
}  // namespace pirune::testing
