#include "player_bot.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <thread>

#include "screen_grab.h"

namespace xdriver {

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

struct Sight {
  std::optional<ClientArea> client;
  Metrics metrics;
  std::optional<Hero> hero;
};

Sight see(const Session& session, Window game) {
  Sight sight;
  sight.client = grabClient(session, game);
  if (sight.client) {
    sight.hero = findHero(*sight.client);
    sight.metrics = lookAtFlight(*sight.client, sight.hero);
  }
  return sight;
}

// A closing text of two or three long lines at the top: the wings are gone, or he has fallen.
bool closingText(const Metrics& metrics) {
  return allHold(
      {{"white_rows", ">=", "2"}, {"white_right", ">", "20"}, {"white_bottom", "<", "16"}},
      metrics);
}

constexpr auto kPoll = std::chrono::milliseconds(8);
// A hero gone this long has reached the star: his image is hidden at the goal.
constexpr double kGoneSeconds = 0.4;
// How long a beat may take to show before the player looks again.
constexpr double kBeatShowsWithin = 0.35;

}  // namespace

FlightLog fly(Session& session, Window game, const FlightPlan& plan) {
  FlightLog log;
  const auto start = Clock::now();
  bool gone = false;
  Clock::time_point goneSince;
  while (secondsSince(start) < plan.seconds) {
    Sight sight = see(session, game);
    if (!sight.client) {
      log.ended = true;
      break;
    }
    log.last = sight.metrics;
    if (!plan.until.empty() && allHold(plan.until, sight.metrics)) {
      log.met = true;
      break;
    }
    if (closingText(sight.metrics)) {
      log.ended = true;
      break;
    }
    if (!sight.hero) {
      if (!gone) {
        gone = true;
        goneSince = Clock::now();
      }
      if (secondsSince(goneSince) >= kGoneSeconds) {
        log.ended = true;
        break;
      }
      std::this_thread::sleep_for(kPoll);
      continue;
    }
    gone = false;
    const double altitude = 100 - sight.hero->imageTop;
    log.lowest = std::min(log.lowest, altitude);
    log.highest = std::max(log.highest, altitude);
    if (log.beats >= plan.beats) {
      break;
    }
    if (altitude >= plan.beatBelow) {
      std::this_thread::sleep_for(kPoll);
      continue;
    }
    const ClientArea& client = *sight.client;
    session.click(client.screenX(70), client.screenY(70));
    ++log.beats;
    // Look again only once the beat shows (every beat turns his wings), so that one low
    // picture is one beat.
    const auto beaten = Clock::now();
    while (secondsSince(beaten) < kBeatShowsWithin) {
      std::this_thread::sleep_for(kPoll);
      const Sight after = see(session, game);
      if (!after.hero || !after.client || after.hero->wingsUp != sight.hero->wingsUp ||
          closingText(after.metrics) ||
          (!plan.until.empty() && allHold(plan.until, after.metrics))) {
        break;
      }
    }
  }
  log.seconds = secondsSince(start);
  return log;
}

}  // namespace xdriver
