#include "support/scripted_platform.h"

#include <unistd.h>

#include <algorithm>

#include "game/runtime_error.h"
#include "support/sized_picture.h"

namespace pirune::testing {

ScriptedPlatform::ScriptedPlatform() {
  static int made = 0;
  folder = std::filesystem::temp_directory_path() /
           ("pirune-test-" + std::to_string(getpid()) + "-" + std::to_string(made++));
  std::filesystem::create_directories(folder);
}

std::optional<std::string> ScriptedPlatform::loadFlight(const std::string& slot) {
  const auto kept = flights.find(slot);
  return kept != flights.end() ? std::optional(kept->second) : std::nullopt;
}

double ScriptedPlatform::rnd() {
  if (realRandom) {
    return Platform::rnd();
  }
  ++randomsDrawn;
  const double r = randoms.empty() ? 0.137 * randomsDrawn - static_cast<int>(0.137 * randomsDrawn)
                                   : randoms.front();
  if (!randoms.empty()) {
    randoms.pop_front();
  }
  return r;
}

PictureRef ScriptedPlatform::loadPicture(const std::string& path) {
  const std::string name = std::filesystem::path(path).filename().string();
  if (name == missingPicture) {
    throw RuntimeError("画像ファイル " + path + " がありません");
  }
  picturesLoaded.push_back(name);
  return std::make_shared<SizedPicture>(name, 100, 100);  // every story picture
}

PictureRef ScriptedPlatform::designPicture(DesignPicture picture) {
  return std::make_shared<SizedPicture>(picture == DesignPicture::WingFrame1 ? "wing1" : "wing2",
                                        20, 30);
}

std::string ScriptedPlatform::loadRanking() {
  rankingFile = RankingFile::open(rankingFileIn(folder.string()));
  return rankingFile->records();
}

void ScriptedPlatform::storeRanking(const std::string& records) {
  if (stores != nullptr) {
    stores->push_back("store");
  }
  if (!rankingFile) {
    rankingFile = RankingFile::open(rankingFileIn(folder.string()));
  }
  rankingFile->save(records);
}

void ScriptedPlatform::messageBox(const std::u16string& title, const std::u16string& text) {
  boxes.push_back({text, title, false});
  if (whileBoxOpen) {
    whileBoxOpen();
  }
}

std::optional<std::u16string> ScriptedPlatform::inputBox(const std::u16string& title,
                                                         const std::u16string& prompt) {
  messageBox(title, prompt);
  boxes.back().input = true;
  std::optional<std::u16string> answer;
  if (!answers.empty()) {
    answer = answers.front();
    answers.pop_front();
  }
  return answer;
}

void runTimers(TimerScheduler& timers, std::int64_t& clock, std::int64_t until) {
  for (auto due = timers.nextDue(); due && *due <= until; due = timers.nextDue()) {
    clock = std::max(clock, *due);
    timers.advance(clock);
  }
  clock = until;
  timers.advance(clock);
}

void Game::run(std::int64_t milliseconds) {
  runTimers(form.timers, platform.clock, platform.clock + milliseconds);
}

Game::Game(std::int64_t musicLength) {
  platform.musicBackend.length = musicLength;
  form.Form_Load();
  form.Form_Activate();
}

void Game::click(float x, float y) {
  form.pointerPressed(MouseButton::Left, 0, x, y);
  form.pointerReleased(MouseButton::Left, x, y);
}

void Game::startFlight() {
  for (int page = 0; page < 3; ++page) {
    click();
  }
}

Flight Game::flight() const {
  const Rect& r = form.IMG.rect();
  const auto pixel = [](float units) { return static_cast<int>(units); };
  const std::array hero{pixel(r.left), pixel(r.top), pixel(r.width), pixel(r.height)};
  return {form.distance, form.wingFrame, form.altitude, form.meltCount, form.growth, hero};
}

void PrintTo(const Flight& flight, std::ostream* out) {
  *out << "{distance " << flight.distance << ", wing " << flight.wing << ", altitude "
       << flight.altitude << ", melts " << flight.melts << ", growth " << flight.growth
       << ", hero at " << flight.hero[0] << "," << flight.hero[1] << " sized " << flight.hero[2]
       << "x" << flight.hero[3] << "}";
}

void Game::flyAt(int distance, std::int16_t altitude) {
  startFlight();
  form.distance = static_cast<std::int16_t>(distance);
  form.wingFrame = 2;
  form.altitude = altitude;
}

}  // namespace pirune::testing
