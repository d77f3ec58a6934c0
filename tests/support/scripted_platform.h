#pragma once
// A platform for the core's tests: a clock the test moves, random numbers the test scripts,
// boxes the test answers, and a record of everything the game asked for.

#include <cstdint>
#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "game/form.h"
#include "game/platform.h"

namespace pirune::testing {

class NamedBitmap : public Bitmap {
 public:
  explicit NamedBitmap(std::string source) : source_(std::move(source)) {}
  [[nodiscard]] int width() const override { return 100; }
  [[nodiscard]] int height() const override { return 100; }
  [[nodiscard]] std::string source() const override { return source_; }

 private:
  std::string source_;
};

class RecordingMusic : public MusicBackend {
 public:
  void open(const std::string& path) override;
  [[nodiscard]] std::int64_t lengthMs() const override { return opened ? length : 0; }
  void rewind() override { commands.emplace_back("prev"); }
  void play() override { commands.emplace_back("play"); }
  void stop() override { commands.emplace_back("stop"); }
  void close() override { commands.emplace_back("close"); }

  std::int64_t length = 30000;  // what an opened file reports
  bool opened = false;
  std::vector<std::string> commands;  // "open:<path>", "prev", "play", "stop", "close"
};

struct Box {
  std::u16string text;
  std::u16string title;
  bool input = false;
};

class ScriptedPlatform : public Platform {
 public:
  // A fresh, empty program folder of its own for every platform.
  ScriptedPlatform();
  ScriptedPlatform(const ScriptedPlatform&) = delete;
  ScriptedPlatform& operator=(const ScriptedPlatform&) = delete;
  ScriptedPlatform(ScriptedPlatform&&) = delete;
  ScriptedPlatform& operator=(ScriptedPlatform&&) = delete;
  ~ScriptedPlatform() override;

  std::string programFolder() override { return folder.string(); }
  int screenHeight() override { return screen; }
  int outerHeight() override { return outerH; }
  void setOuterHeight(int pixels) override { outerH = pixels; }
  void setOuterWidth(int pixels) override { outerW = pixels; }
  void seedRandomFromClock() override { ++seeds; }
  double rnd() override;
  PictureRef loadPicture(const std::string& path) override;
  PictureRef designPicture(DesignPicture picture) override;
  void messageBox(const std::u16string& text, const std::u16string& title) override;
  std::optional<std::u16string> inputBox(const std::u16string& prompt,
                                         const std::u16string& title) override;
  MusicBackend& music() override { return musicBackend; }
  std::int64_t nowMs() override { return clock; }

  std::filesystem::path folder;
  int screen = 1000;
  int outerH = 0;
  int outerW = 0;
  int seeds = 0;
  std::int64_t clock = 0;

  std::deque<double> randoms;  // scripted; when empty, a fixed sequence continues
  int randomsDrawn = 0;
  std::vector<std::string> picturesLoaded;  // bare file names
  std::vector<std::string> missingPictures;

  std::vector<Box> boxes;
  std::deque<std::optional<std::u16string>> answers;  // for input boxes; empty: cancel
  std::function<void()> whileBoxOpen;  // runs inside every box, e.g. to let time pass

  RecordingMusic musicBackend;

 private:
  double fallback_ = 0.0;
};

// Lets time pass on the scripted clock, delivering every timer tick that falls due.
void advance(ScriptedPlatform& platform, FOM& form, std::int64_t milliseconds);

// A window made and loaded, and its first activation done: the title screen.
struct Game {
  ScriptedPlatform platform;
  FOM form{platform};

  Game();
  void click(float x = 50, float y = 50);  // press and release the primary button
  void run(std::int64_t milliseconds) { advance(platform, form, milliseconds); }
  // Clicks through the title and the opening pages: the flight runs after this.
  void startFlight();
  [[nodiscard]] std::u16string caption() const { return form.LBl.Caption(); }
  [[nodiscard]] std::u16string scene() const { return form.sceneName.value_or(u""); }
};

}  // namespace pirune::testing
