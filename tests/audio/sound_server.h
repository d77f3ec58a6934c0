#pragma once
// What the player tests need from the sound server: whether one is there, whether it must be
// (run-tests starts a private one), and a way to let the window's event loop run meanwhile.

#include <gtest/gtest.h>

#include <functional>

namespace pirune::testing {

[[nodiscard]] bool soundServerExpected();
[[nodiscard]] bool soundOutputPresent();

// Runs the event loop until the condition holds or the time is up; says whether it held.
bool waitUntil(const std::function<bool()>& condition, int timeoutMs);
void letRun(int milliseconds);

// Playback streams the server has open now, from every client; -1 when pactl cannot tell.
[[nodiscard]] int serverStreams();

}  // namespace pirune::testing

// Without an output the test is skipped, unless a server was promised: then it fails.
#define PIRUNE_REQUIRE_SOUND_OUTPUT()                                                        \
  do {                                                                                       \
    if (!::pirune::testing::soundOutputPresent()) {                                          \
      if (::pirune::testing::soundServerExpected()) {                                        \
        FAIL() << "PIRUNE_EXPECT_SOUND_SERVER is set, but the player finds no sound output"; \
      }                                                                                      \
      GTEST_SKIP() << "no sound server";                                                     \
    }                                                                                        \
  } while (false)
