#include "sound_server.h"

#include <QAudioDevice>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMediaDevices>
#include <QProcess>
#include <QTimer>
#include <cstdlib>
#include <cstring>

namespace pirune::testing {

bool soundServerExpected() {
  const char* expected = std::getenv("PIRUNE_EXPECT_SOUND_SERVER");
  return expected != nullptr && std::strcmp(expected, "1") == 0;
}

bool soundOutputPresent() { return !QMediaDevices::audioOutputs().isEmpty(); }

void letRun(int milliseconds) {
  QEventLoop loop;
  QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
  loop.exec();
}

bool waitUntil(const std::function<bool()>& condition, int timeoutMs) {
  QElapsedTimer clock;
  clock.start();
  while (!condition()) {
    if (clock.elapsed() > timeoutMs) {
      return false;
    }
    letRun(10);
  }
  return true;
}

int serverStreams() {
  QProcess pactl;
  pactl.start("pactl", {"list", "short", "sink-inputs"});
  if (!pactl.waitForFinished(5000) || pactl.exitStatus() != QProcess::NormalExit ||
      pactl.exitCode() != 0) {
    return -1;
  }
  return static_cast<int>(pactl.readAllStandardOutput().count('\n'));
}

}  // namespace pirune::testing
