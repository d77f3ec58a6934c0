#include "support/scripted_platform.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>

namespace pirune::testing {

void RecordingMusic::open(const std::string& path) {
  commands.push_back("open:" + path);
  opened = true;
}

ScriptedPlatform::ScriptedPlatform() {
  static std::atomic<int> counter{0};
  folder = std::filesystem::temp_directory_path() /
           ("pirune-test-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
}

ScriptedPlatform::~ScriptedPlatform() {
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
}

double ScriptedPlatform::rnd() {
  ++randomsDrawn;
  if (!randoms.empty()) {
    const double r = randoms.front();
    randoms.pop_front();
    return r;
  }
  fallback_ += 0.137;
  if (fallback_ >= 1.0) {
    fallback_ -= 1.0;
  }
  return fallback_;
}

PictureRef ScriptedPlatform::loadPicture(const std::string& path) {
  const std::string name = std::filesystem::path(path).filename().string();
  if (std::find(missingPictures.begin(), missingPictures.end(), name) != missingPictures.end()) {
    throw RuntimeError("ファイルが見つかりません: " + path);
  }
  picturesLoaded.push_back(name);
  return std::make_shared<NamedBitmap>(name);
}

PictureRef ScriptedPlatform::designPicture(DesignPicture picture) {
  return std::make_shared<NamedBitmap>(picture == DesignPicture::WingFrame1 ? "wing1" : "wing2");
}

void ScriptedPlatform::messageBox(const std::u16string& text, const std::u16string& title) {
  boxes.push_back({text, title, false});
  if (whileBoxOpen) {
    whileBoxOpen();
  }
}

std::optional<std::u16string> ScriptedPlatform::inputBox(const std::u16string& prompt,
                                                         const std::u16string& title) {
  boxes.push_back({prompt, title, true});
  if (whileBoxOpen) {
    whileBoxOpen();
  }
  if (answers.empty()) {
    return std::nullopt;
  }
  auto answer = answers.front();
  answers.pop_front();
  return answer;
}

void advance(ScriptedPlatform& platform, FOM& form, std::int64_t milliseconds) {
  const std::int64_t end = platform.clock + milliseconds;
  while (true) {
    const auto due = form.timers.nextDue();
    if (!due || *due > end) {
      break;
    }
    platform.clock = std::max(platform.clock, *due);
    form.timers.fireDue();
  }
  platform.clock = end;
}

Game::Game() {
  form.Form_Load();
  form.Form_Activate();
}

void Game::click(float x, float y) {
  form.pointerPressed(MouseButton::Left, 0, x, y);
  form.pointerReleased(MouseButton::Left, x, y);
}

void Game::startFlight() {
  click();
  click();
  click();
}

}  // namespace pirune::testing
