#pragma once
// A platform for the core's tests: a clock the test moves, random numbers the test scripts,
// boxes the test answers, and a record of everything the game asked for.

#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "game/decimal.h"
#include "game/form.h"
#include "ranking/ranking_file.h"
#include "support/recording_music.h"

namespace pirune::testing {

struct Box {
  std::u16string text, title;
  bool input = false;
};

class ScriptedPlatform : public Platform {
 public:
  ScriptedPlatform();  // with a fresh, empty program folder of its own
  ~ScriptedPlatform() override {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }

  std::string programFolder() override { return folder.string(); }
  // scr.dat in the program's folder, as the portable game keeps it.
  std::string loadRanking() override;
  void storeRanking(const std::string& records) override;
  int screenHeight() override { return 1000; }
  int outerHeight() override { return outer[1]; }
  void setOuterHeight(int pixels) override { outer[1] = pixels; }
  void setOuterWidth(int pixels) override { outer[0] = pixels; }
  void seedRandomFromClock() override { ++seeds; }
  double rnd() override;
  PictureRef loadPicture(const std::string& path) override;
  PictureRef designPicture(DesignPicture picture) override;
  void messageBox(const std::u16string& title, const std::u16string& text) override;
  std::optional<std::u16string> inputBox(const std::u16string& title,
                                         const std::u16string& prompt) override;
  MusicBackend& music() override { return musicBackend; }
  std::int64_t nowMs() override { return clock; }
  std::optional<std::string> loadFlight(const std::string& slot) override;
  void storeFlight(const std::string& slot, const std::string& bytes) override {
    flights[slot] = bytes;
  }

  std::filesystem::path folder;
  std::array<int, 2> outer{};  // width, height
  int seeds = 0;
  std::int64_t clock = 0;
  std::deque<double> randoms;  // scripted; when none are left, a fixed sequence goes on
  bool realRandom = false;     // the game's own generator instead, as a flight record needs
  std::map<std::string, std::string> flights;
  int randomsDrawn = 0;
  std::vector<std::string> picturesLoaded;  // bare file names
  std::string missingPicture;
  std::vector<Box> boxes;
  std::deque<std::optional<std::u16string>> answers;  // for input boxes; none left: cancel
  std::function<void()> whileBoxOpen;                 // e.g. lets time pass inside a box
  RecordingMusic musicBackend;
  std::unique_ptr<RankingFile> rankingFile;
  std::vector<std::string>* stores = nullptr;  // where each store is noted as "store"
};

// The flight at a glance: compared whole, and printed field by field when a check fails.
struct Flight {
  int distance, wing, altitude, melts, growth;
  std::array<int, 4> hero;  // left, top, width, height
  bool operator==(const Flight&) const = default;
};
void PrintTo(const Flight& flight, std::ostream* out);

// Moves `clock` on to `until`, delivering every timer tick that falls due on the way.
void runTimers(TimerScheduler& timers, std::int64_t& clock, std::int64_t until);

// A window made and loaded, and its first activation done: the title screen.
struct Game {
  ScriptedPlatform platform;
  FOM form{platform};

  explicit Game(std::int64_t musicLength = 30000);
  void click(float x = 50, float y = 50);  // the primary button pressed and released
  // Lets time pass on the scripted clock, delivering every timer tick that falls due.
  void run(std::int64_t milliseconds);
  void startFlight();  // through the title and the two opening pages
  // A flight at `distance`, one beat before the next unit.
  void flyAt(int distance, std::int16_t altitude = 50);
  [[nodiscard]] std::u16string caption() const { return form.LBl.Caption(); }
  [[nodiscard]] std::u16string scene() const { return form.sceneName.value_or(u""); }
  [[nodiscard]] std::string picture() const { return form.SEimg.Picture()->source(); }
  [[nodiscard]] Flight flight() const;
};

}  // namespace pirune::testing
