#pragma once
// What a player sees in the client area, read from its pixels: the hero, the lines of the
// label's text, the twinkling shapes, the story picture.

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "screen_grab.h"

namespace xdriver {

bool isWhite(const Rgb& p);
bool isBlack(const Rgb& p);
bool isRed(const Rgb& p);
bool isDark(const Rgb& p);
// A colour of the shapes' palette that no grey of the white figure or text can be.
bool isShapeColour(const Rgb& p);
// Any colour a shape can have.
bool isPaletteColour(const Rgb& p);

struct Span {
  int first = 0;
  int last = 0;
};

// Runs of marked places, bridging gaps of up to `maxGap` unmarked ones.
std::vector<Span> runs(const std::vector<bool>& marks, int maxGap);

// In units of the client area.
struct Box {
  double left = 0;
  double top = 0;
  double right = 0;
  double bottom = 0;
};

struct Hero {
  Box figure;              // the white of his figure
  bool wingsUp = false;    // the first wing picture: the wing tips stand above his head
  double imageTop = 0;     // the top edge of his image, 100 - his altitude
  double imageHeight = 0;  // 30 + his growth; his image is 20 units narrower than high
};

// The hero: the white figure at the left edge, not the label's text above him.
std::optional<Hero> findHero(const ClientArea& client);

struct TextLines {
  int count = 0;
  Box box;  // of all the lines; left and right are the ink's extent
};

// Lines of text whose pixels pass `ink`, within a region given in units, leaving out a box (the
// hero's) where one is given.
TextLines findText(const ClientArea& client, const std::function<bool(const Rgb&)>& ink,
                   const Box& region, const std::optional<Box>& without = std::nullopt);

// Every reading at once, as names and values, for the scripts to print and to compare:
//   black         percent of black in the lower four fifths (a flight is black)
//   coloured      pixels in the colours of the twinkling shapes
//   hero          1 when the hero's white figure is seen at the left; then hero_top,
//                 hero_bottom, hero_left, hero_right (his figure), hero_frame (1: wings up,
//                 2: wings down) and altitude (100 - the top edge of his image)
//   white_rows    lines of white text in the top 45 units beside the hero; white_top,
//                 white_bottom, white_left and white_right around them
//   red_rows, red_centre    lines of red text in the top 40 units, and their middle
//   dark_rows, dark_centre  the same for dark text in the top 30 units
//   pic_NAME      how far the client area below 30 units is from each picture file;
//                 pic the one shown, or none
//   differs       percent of pixels unlike the reference picture
using Metrics = std::vector<std::pair<std::string, std::string>>;

struct LookOptions {
  std::vector<std::string> bitmaps;  // the game's pictures, to name the one shown
  std::optional<Picture> reference;  // an earlier client area, to tell the same screen
};

Metrics look(const ClientArea& client, const LookOptions& options);
// The readings of a flight only (the hero and the label's white text), quick enough for a
// player's every glance.
Metrics lookAtFlight(const ClientArea& client);
Metrics lookAtFlight(const ClientArea& client, const std::optional<Hero>& hero);

}  // namespace xdriver
