#pragma once
// The numbers of the game, each named once with the reason it exists. Positions and sizes are in
// the window's units: its client area is 100 by 100 units, whatever its size in pixels.

#include <cstdint>

namespace pirune::rules {

// ---- the flight --------------------------------------------------------------------------
// Every flight starts halfway up the window.
inline constexpr std::int16_t kStartAltitude = 50;
// One wing beat lifts the hero by this much; a tick of the flight timer lowers him by meltCount.
inline constexpr std::int16_t kWingLift = 3;
// He reaches the star at this distance, unless endless mode is on.
inline constexpr std::int16_t kGoalDistance = 30;
// In endless mode the star is this far away: the counter's range is the only limit.
inline constexpr std::int16_t kEndlessGoalDistance = 30000;
// He grows by a unit in both directions at every distance that is a multiple of this.
inline constexpr int kGrowthEvery = 2;

// ---- the two limits of a flight ----------------------------------------------------------
// At or above this height the wax melts; at or below the floor he falls.
inline constexpr std::int16_t kMeltCeiling = 100;
inline constexpr std::int16_t kFallFloor = 0;
// meltCount starts at 1 and counts the melts: the wings survive nine, the tenth takes them.
inline constexpr std::uint8_t kLastMeltCount = 10;

// ---- the flight timer --------------------------------------------------------------------
// A new flight starts slow, each tick shortens the interval while it is at least the ramp's
// end, and so it settles one step below it: 500, 490, ... 100, 90 ms.
inline constexpr int kFlightStartIntervalMs = 500;
inline constexpr int kFlightIntervalStepMs = 10;
inline constexpr int kFlightRampEndMs = 100;

// ---- endless mode ------------------------------------------------------------------------
// Every so many units an endless flight is renewed: fresh wings, normal size, mid-height, and
// a slower timer, so that the player gets a breath before the next stretch.
inline constexpr int kEndlessRenewalEvery = 50;
inline constexpr int kEndlessSlowdownMs = 200;

// ---- the hero's picture ------------------------------------------------------------------
// Ten units wide and thirty high, plus growth in both directions.
inline constexpr float kHeroBaseWidth = 10;
inline constexpr float kHeroBaseHeight = 30;

// ---- the ranking -------------------------------------------------------------------------
// A flight longer than this, which only endless mode allows, earns a place and a name.
inline constexpr std::int16_t kRankingAbove = 30;

}  // namespace pirune::rules
