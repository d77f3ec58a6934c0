#pragma once
// The page: what only the browser can do, reached through the JavaScript module that the page
// hands to the program (Module.page). Every call from C++ into the page passes through here.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "screen/color.h"
#include "screen/controls.h"

namespace pirune::web::page {

// ---- the one call into the game that is running ------------------------------------------
// It has ended: the page may deliver the next event.
void callFinished();
// Wakes the game when its next timer tick falls due; a negative delay means no tick at all.
void armTimer(std::int64_t delayMs);
// The model changed: a frame is painted with the next display frame.
void requestFrame();
// A run-time error ended the game: the page takes no input any more.
void gameEnded();

// ---- drawing, in the canvas's device pixels ----------------------------------------------
struct PixelRect {
  double left = 0;
  double top = 0;
  double width = 0;
  double height = 0;
};
void fillRect(const PixelRect& rect, Color color);
void drawPicture(int id, const PixelRect& target);
void drawText(const std::u16string& text, const PixelRect& box, const PixelRect& clip, Color color,
              Alignment alignment, double fontPixels);

// ---- pictures, decoded by the page ----------------------------------------------------------
struct PictureInfo {
  int id = -1;  // -1: the page has no such picture, or could not decode it
  int width = 0;
  int height = 0;
};
// Hands the page a picture that the program carries, to decode before the game starts.
void offerPicture(const std::string& name, std::span<const unsigned char> bytes);
// The picture called `name` (a story picture's file name, or a carried picture's name); waits
// while the page is still fetching it.
PictureInfo picture(const std::string& name);

// ---- the boxes ------------------------------------------------------------------------------
// The game waits inside its procedure for the player's answer. Meanwhile timerDue runs first,
// and again each time the game's timer falls due.
void whileBoxOpen(std::function<void()> timerDue);
void messageBox(const std::u16string& title, const std::u16string& text);
std::optional<std::u16string> inputBox(const std::u16string& title, const std::u16string& prompt);
// OK and キャンセル; true for OK.
bool confirmBox(const std::u16string& title, const std::u16string& text);

// ---- the menu bar ---------------------------------------------------------------------------
// Adds an item under `parent` (-1 for the bar itself) and returns its number.
int addMenuItem(int parent, const std::u16string& caption, bool checkable, bool opensMenu);
void showMenuItem(int id, bool checked, bool enabled);

// ---- the music ------------------------------------------------------------------------------
// Length in ms of the page's music for the file called `name`; 0 when the site has none.
std::int64_t musicOpen(const std::string& name);
void musicRewind();
void musicPlay();
void musicStop();
void musicClose();

// ---- scr.dat in the browser's storage ------------------------------------------------------
std::optional<std::string> storedRanking();
void storeRanking(const std::string& bytes);
// The bytes of the file that the player chose to load.
std::string chosenRanking();
void downloadRanking(const std::string& bytes);

// ---- the viewport -----------------------------------------------------------------------------
int screenHeight();
int windowSide();

}  // namespace pirune::web::page
