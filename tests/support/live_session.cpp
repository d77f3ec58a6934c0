#include "support/live_session.h"

#include "support/sized_picture.h"

namespace pirune::testing {

namespace {

// A 60 Hz display's frames, on whole milliseconds: 0, 16, 33, 50, 66...
std::int64_t nextFrame(std::int64_t after) {
  std::int64_t frame = after * 3 / 50;
  while (frame * 50 / 3 <= after) {
    ++frame;
  }
  return frame * 50 / 3;
}

}  // namespace

void DrivingShell::armTimer(std::optional<std::int64_t> delayMs) {
  delay = delayMs;
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
  afterEach();
  session.release(MouseButton::Left, x, y);
  afterEach();
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
    afterEach();
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
