#include "support/live_session.h"

#include "support/sized_picture.h"

namespace pirune::testing {

namespace {

// A 60 Hz display's frames, on whole milliseconds: 0, 16, 33, 50, 66...
std::int64_t nextFrame(std::int64_t after) {
  constexpr std::int64_t kThird = 3;
  constexpr std::int64_t kFiftyMs = 50;
  std::int64_t frame = (after * kThird) / kFiftyMs;
  while (frame * kFiftyMs / kThird <= after) {
    ++frame;
  }
  return frame * kFiftyMs / kThird;
}

}  // namespace

void DrivingShell::armTimer(std::optional<std::int64_t> delayMs) {
  if (!delayMs) {
    wake.reset();
  } else if (*delayMs <= TimerScheduler::kMinimumPeriodMs) {
    wake = nextFrame(*clock + *delayMs - 1);
  } else {
    wake = *clock + *delayMs;
  }
}

LiveSession::LiveSession(int side, const std::function<void(ScriptedPlatform&)>& prepare)
    : session(platform, shell, tenPixelFont(), RankingKept::AfterEveryChange), side_(side) {
  if (prepare) {
    prepare(platform);
  }
  platform.realRandom = true;
  platform.setRandomState(0x5EED);
  shell.clock = &platform.clock;
  session.start();
  session.resize({side, side, 1, 1});
  session.activate();
}

void LiveSession::click(int x, int y) {
  session.press(MouseButton::Left, {}, x, y);
  if (afterEach) {
    afterEach();
  }
  session.release(MouseButton::Left, x, y);
  if (afterEach) {
    afterEach();
  }
}

void LiveSession::startFlight() {
  for (int page = 0; page < 3; ++page) {
    click();
  }
}

void LiveSession::wait(std::int64_t milliseconds) {
  const std::int64_t until = platform.clock + milliseconds;
  while (shell.wake && *shell.wake <= until) {
    platform.clock = std::max(platform.clock, *shell.wake);
    shell.wake.reset();
    session.tick();
    if (afterEach) {
      afterEach();
    }
  }
  platform.clock = until;
}

void LiveSession::rankEndless(int distance, const std::u16string& name) {
  if (!form().endlessMode()) {
    session.menuCommand(kEndlessItem);
  }
  startFlight();
  while (form().inFlight() && form().distance < distance) {
    wait(40);
    if (form().altitude < 50) {
      click();
    }
  }
  platform.answers.emplace_back(name);
  session.menuCommand(kNewGameItem);
}

}  // namespace pirune::testing
