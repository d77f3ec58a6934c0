#pragma once
// What only a shell can give the game: the desktop's window or the browser's page. The core asks
// for it here and never includes a toolkit; tests give the core a scripted platform instead.

#include <cstdint>
#include <optional>
#include <string>

#include "game/random_source.h"
#include "ranking/scr_dat.h"
#include "screen/picture.h"
#include "sound/music_backend.h"

namespace pirune {

class Platform {
 public:
  Platform() = default;
  Platform(const Platform&) = delete;
  Platform& operator=(const Platform&) = delete;
  Platform(Platform&&) = delete;
  Platform& operator=(Platform&&) = delete;
  virtual ~Platform() = default;

  // The folder that holds the running program, as an absolute path.
  [[nodiscard]] virtual std::string programFolder() = 0;

  // scr.dat's bytes, as far as they are stored; none stored yet is no bytes. Throws
  // RuntimeError, naming the place and the reason, when the ranking can be neither read nor
  // kept there, so that such a place shows at start and not when the player has just ranked.
  virtual std::string loadRanking() = 0;
  // Stores scr.dat's records in place of the stored ones, keeping whatever the stored bytes hold
  // after them. Throws RuntimeError, with the reason, when nothing was stored; the stored bytes
  // are then as they were.
  virtual void storeRanking(const std::string& records) = 0;
  // Stores `file` as the whole of scr.dat, whatever follows its records included: a scr.dat the
  // player brought replaces the stored one as it is. Throws as storeRanking does. A platform
  // that has no way to bring a file keeps its records only.
  virtual void replaceRanking(const std::string& file) {
    storeRanking(file.substr(0, kRankingBytes));
  }

  // The window's outer size and the screen, in device pixels.
  [[nodiscard]] virtual int screenHeight() = 0;
  [[nodiscard]] virtual int outerHeight() = 0;
  virtual void setOuterHeight(int pixels) = 0;
  virtual void setOuterWidth(int pixels) = 0;

  // The one random generator of the program, uniform on [0, 1). Every shell uses the core's;
  // only a test scripts its own.
  virtual void seedRandomFromClock() { random_.seedFromClock(); }
  virtual double rnd() { return random_.next(); }
  // The generator's whole state: what a flight record carries to draw the same numbers again.
  [[nodiscard]] virtual std::uint64_t randomState() const { return random_.state(); }
  virtual void setRandomState(std::uint64_t state) { random_.setState(state); }

  // Throws RuntimeError, naming the file, when it is missing or not a picture.
  virtual PictureRef loadPicture(const std::string& path) = 0;
  virtual PictureRef designPicture(DesignPicture picture) = 0;

  // Modal boxes, titled first. Their texts break lines at LF alone. The input box answers
  // nothing when the player cancels it.
  virtual void messageBox(const std::u16string& title, const std::u16string& text) = 0;
  virtual std::optional<std::u16string> inputBox(const std::u16string& title,
                                                 const std::u16string& prompt) = 0;

  virtual MusicBackend& music() = 0;

  // A monotonic clock, in milliseconds: the session's, from which the game's own time runs.
  [[nodiscard]] virtual std::int64_t nowMs() = 0;

  // The flight records kept beside the ranking, each under a slot's name ("last", "1" to "5"):
  // its bytes, or none when nothing (readable) is kept. Keeping one may fail quietly: a record
  // is never worth a lost flight or a held-up game. Where nothing is kept, nothing is offered.
  [[nodiscard]] virtual std::optional<std::string> loadFlight(const std::string& /*slot*/) {
    return std::nullopt;
  }
  virtual void storeFlight(const std::string& /*slot*/, const std::string& /*bytes*/) {}

 private:
  RandomSource random_;
};

}  // namespace pirune
