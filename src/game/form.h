#pragma once
// FOM, the game window: the whole game state, every control of the window and every procedure.
// Each procedure is defined in the file of its subsystem:
//   game/      start-up and shut-down, the wing beat, altitude and the flight timer
//   screen/    the window's design, the new game, the background effect, mouse routing
//   story/     the scene sequencer LBl_Click
//   sound/     the music timer
//   ranking/   the ranking file, the entry and the ranking message
//   menus/     the menu commands

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "game/app_title.h"
#include "game/checked.h"
#include "game/platform.h"
#include "ranking/rank_record.h"
#include "screen/controls.h"
#include "screen/menu.h"
#include "screen/mouse_button.h"
#include "screen/timers.h"
#include "screen/window_model.h"
#include "sound/mmc.h"

namespace pirune {

class FOM {
  // First, because the controls' timers read the platform's clock as they are made.
  Platform& platform_;

 public:
  explicit FOM(Platform& platform);
  FOM(const FOM&) = delete;
  FOM& operator=(const FOM&) = delete;
  FOM(FOM&&) = delete;
  FOM& operator=(FOM&&) = delete;
  ~FOM();

  // ---- game state ------------------------------------------------------------------------
  std::string basePath;  // the program's folder, ending in "/"
  RankTable rankTable;
  Integer altitude;
  // Sixteen bits rather than eight, so that an endless flight goes on past 255.
  Integer distance;
  Byte meltCount;
  Integer growth;
  Byte wingFrame;
  std::optional<std::u16string> sceneName;  // no value before the first new game
  Byte scenePage;

  // ---- the window and its controls -------------------------------------------------------
  WindowModel window;
  TimerScheduler timers;
  MenuBar menuBar;

  Timer MMCTIM;
  MultimediaControl MMC;
  Timer piruneTIM;
  Timer SHPTIM;
  std::array<Image*, 2> E{};
  Label& LBl;
  Image& SEimg;
  std::vector<Shape*> SHP;
  Image& IMG;

  MenuItem playmnu;
  std::array<std::unique_ptr<MenuItem>, 2> playmnu1;
  MenuItem mnu;
  std::array<std::unique_ptr<MenuItem>, 3> mnu1;
  MenuItem mnu2;
  MenuItem mnu3;

  // ---- events ----------------------------------------------------------------------------
  void Form_Load();
  void Form_Activate();
  void Form_MouseDown(std::int16_t Button, std::int16_t Shift, float X, float Y);
  void Form_Unload(std::int16_t& Cancel);
  void LBl_Click();
  void IMG_Click();
  void piruneTIM_Timer();
  void SHPTIM_Timer();
  void MMCTIM_Timer();
  void playmnu1_Click(std::int16_t Index);
  void mnu1_Click(std::int16_t Index);
  void mnu2_Click();
  void mnu3_Click();

  // ---- the window's own procedures -------------------------------------------------------
  void PIRUNE_PLAY();
  void PIRUNEITI_HENGE(std::int16_t henge);
  void RANKING_TOUROKU();
  void RANKING_LOAD();
  void RANKING_SAVE();

  // ---- the mouse, as a shell reports it (positions in units) -----------------------------
  // A click is the primary button pressed and released over the same control; a press on no
  // control is the window's own mouse-down, for any button.
  void pointerPressed(MouseButton button, std::int16_t shift, float x, float y);
  void pointerReleased(MouseButton button, float x, float y);

  // ---- the options, as their menu items' check marks say ---------------------------------
  [[nodiscard]] bool musicOn() const { return mnu1[0]->Checked(); }
  [[nodiscard]] bool endlessMode() const { return mnu1[1]->Checked(); }
  [[nodiscard]] bool effectOn() const { return mnu1[2]->Checked(); }
  // The endless mode's item, which a flight greys out and a new game offers again.
  [[nodiscard]] MenuItem& endlessItem() { return *mnu1[1]; }
  // The ranking was read at start and its one save is still to come.
  [[nodiscard]] bool rankingToSave() const { return rankingRead_; }
  // No story scene is playing: a click on the label is a wing beat.
  [[nodiscard]] bool inFlight() const { return sceneName.value_or(u"").empty(); }

 private:
  // Boxes hold the flight and the background effect while the player reads or types.
  void showMessage(const std::u16string& text);
  std::optional<std::u16string> askText(const std::u16string& prompt, const std::u16string& title);

  void scatter(Shape& shape);
  void showShapes(bool visible);
  void startFlight();
  // The wings gone, or the bottom reached: the fall scene "otiru1" or "otiru2" begins.
  void fall(const char16_t* scene);

  // Read this run and not yet saved: the one save of the run is still to come.
  bool rankingRead_ = false;
  Control* pressedControl_ = nullptr;
};

}  // namespace pirune
