// A hundred thousand wing beats with every timer ticking: an endless flight all the way to the
// star at 30000, its ending and ranking, then a second flight; the counters never overflow and
// the memory the game holds does not grow.

#include <gtest/gtest.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "ranking/ranking_file.h"
#include "support/scripted_platform.h"

#if defined(__SANITIZE_ADDRESS__)
#define PIRUNE_SOAK_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PIRUNE_SOAK_ASAN 1
#endif
#endif
#ifdef PIRUNE_SOAK_ASAN
#if __has_include(<sanitizer/allocator_interface.h>)
#include <sanitizer/allocator_interface.h>
#else
// GCC's AddressSanitizer has the function but ships no header for it.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();  // NOLINT
#endif
#endif

namespace pirune::testing {
namespace {

// The heap blocks in use right now. AddressSanitizer's allocator keeps its own count, which
// glibc's arena statistics would not see.
std::size_t heapInUse() {
#ifdef PIRUNE_SOAK_ASAN
  return __sanitizer_get_current_allocated_bytes();
#else
  return mallinfo2().uordblks;
#endif
}

std::size_t residentBytes() {
  std::ifstream statm("/proc/self/statm");
  std::size_t pages = 0;
  std::size_t resident = 0;
  statm >> pages >> resident;
  return resident * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

// The scripted platform keeps a record of every picture, box and music command; those belong
// to the test, not to the game, and are dropped before the memory is read (swapped out, as
// clear() and "= {}" would keep the vectors' storage).
void dropRecords(ScriptedPlatform& platform) {
  std::vector<std::string>().swap(platform.picturesLoaded);
  std::vector<Box>().swap(platform.boxes);
  std::vector<std::string>().swap(platform.musicBackend.commands);
}

// Flies like a patient player: a wing beat whenever the hero has sunk below 50, otherwise the
// next timer tick, whichever timer it is.
class Pilot {
 public:
  explicit Pilot(Game& game) : game_(game), form_(game.form) {
    std::function<void()> tick = form_.piruneTIM.onTick;
    form_.piruneTIM.onTick = [this, tick] {
      ++ticks;
      tick();
    };
    std::function<void()> twinkle = form_.SHPTIM.onTick;
    form_.SHPTIM.onTick = [this, twinkle] {
      ++backgroundTicks;
      twinkle();
    };
  }

  // Stops early when the flight ends.
  void fly(long count) {
    for (long done = 0; done < count && inFlight(); ++done) {
      while (inFlight() && form_.altitude >= 50) {
        const auto due = form_.timers.nextDue();
        if (!due) {
          return;
        }
        game_.run(*due - game_.platform.clock);
        note();
      }
      if (!inFlight()) {
        return;
      }
      game_.click();
      ++beats;
      note();
    }
  }

  long beats = 0;
  long ticks = 0;
  long backgroundTicks = 0;
  int lowest = 50;
  int highest = 50;
  int longestInterval = 0;
  int largestGrowth = 0;
  int mostMelt = 1;

 private:
  [[nodiscard]] bool inFlight() const { return game_.scene().empty(); }
  void note() {
    lowest = std::min<int>(lowest, form_.altitude);
    highest = std::max<int>(highest, form_.altitude);
    longestInterval = std::max(longestInterval, form_.piruneTIM.Interval());
    largestGrowth = std::max<int>(largestGrowth, form_.growth);
    mostMelt = std::max<int>(mostMelt, form_.meltCount);
  }

  Game& game_;
  FOM& form_;
};

std::int16_t scoreInFile(const std::string& bytes, std::size_t record) {
  const std::size_t at = record * kRecordBytes + kNameBytes;
  return static_cast<std::int16_t>(static_cast<unsigned char>(bytes[at]) |
                                   (static_cast<unsigned char>(bytes[at + 1]) << 8));
}

TEST(Soak, HundredThousandBeatsToTheStarAndOnWithoutGrowingMemory) {
  Game game;
  FOM& f = game.form;
  f.mnu1_Click(1);  // endless mode
  ASSERT_TRUE(f.mnu1[1]->Checked());
  ASSERT_TRUE(f.mnu1[0]->Checked() && f.mnu1[2]->Checked());  // music and the effect keep going
  Pilot pilot(game);
  game.startFlight();

  pilot.fly(10000);
  ASSERT_EQ(pilot.beats, 10000);
  EXPECT_EQ(f.distance, 5001);
  dropRecords(game.platform);
  const std::size_t heapEarly = heapInUse();
  const std::size_t residentEarly = residentBytes();

  // Distance 1 and one unit per two beats: the star at 30000 is the 59998th beat.
  pilot.fly(60000);
  EXPECT_EQ(pilot.beats, 59998);
  EXPECT_EQ(game.scene(), u"end");
  EXPECT_EQ(f.distance, 30000);
  EXPECT_EQ(f.scenePage, 2);
  EXPECT_FALSE(f.piruneTIM.Enabled());
  EXPECT_FALSE(f.SHPTIM.Enabled());
  EXPECT_EQ(game.platform.picturesLoaded, (std::vector<std::string>{"end0.bmp"}));
  // Each beat lifts by 3 and each tick pulls down by 1, but the 599 renewals at every fifty
  // put the hero back at 50 instead: ticks kept coming between the beats all the way.
  EXPECT_GE(pilot.ticks, 3 * (59998 - 600));
  EXPECT_LE(pilot.ticks, 3 * (59998 - 600) + 2 * 600);
  EXPECT_EQ(pilot.mostMelt, 1);
  EXPECT_GE(pilot.lowest, 40);
  EXPECT_LE(pilot.highest, 60);
  EXPECT_LE(pilot.longestInterval, 500);
  EXPECT_EQ(pilot.largestGrowth, 24);
  // The shapes twinkled at about sixty ticks a second of the whole flight.
  const std::int64_t flightMs = game.platform.clock;
  EXPECT_GE(pilot.backgroundTicks, flightMs / TimerScheduler::kMinimumPeriodMs * 95 / 100);
  EXPECT_LE(pilot.backgroundTicks, flightMs / TimerScheduler::kMinimumPeriodMs + 1);

  game.click();  // the second ending page
  EXPECT_EQ(game.platform.picturesLoaded.back(), "end1.bmp");
  game.platform.answers.push_back(u"ICARUS");
  game.click();  // the next new game: the flight takes first place
  EXPECT_EQ(game.scene(), u"open");
  ASSERT_EQ(game.platform.boxes.size(), 1U);
  EXPECT_TRUE(game.platform.boxes[0].input);
  EXPECT_EQ(game.platform.boxes[0].title, u"1位");
  EXPECT_EQ(f.rankTable[0], (RankRecord{u"ICARUS    ", 30000}));
  EXPECT_EQ(f.rankTable[1], RankRecord{});

  // The second endless flight brings the beats to a hundred thousand.
  EXPECT_TRUE(f.mnu1[1]->Checked());
  game.startFlight();
  pilot.fly(100000 - pilot.beats);
  ASSERT_EQ(pilot.beats, 100000);
  EXPECT_EQ(f.distance, 1 + 40002 / 2);
  dropRecords(game.platform);
  const std::size_t heapLate = heapInUse();
  const std::size_t residentLate = residentBytes();

  constexpr std::size_t kKiB = 1024;
  RecordProperty("heap_bytes_at_10000_beats", std::to_string(heapEarly));
  RecordProperty("heap_bytes_at_100000_beats", std::to_string(heapLate));
  RecordProperty("resident_bytes_at_10000_beats", std::to_string(residentEarly));
  RecordProperty("resident_bytes_at_100000_beats", std::to_string(residentLate));
  RecordProperty("flight_ticks", std::to_string(pilot.ticks));
  RecordProperty("background_ticks", std::to_string(pilot.backgroundTicks));
  RecordProperty("game_time_ms", std::to_string(game.platform.clock));
  // The heap is counted to the block; 64 KiB leaves room for the allocator's caches and still
  // catches a byte lost per wing beat.
  EXPECT_LT(heapLate, heapEarly + 64 * kKiB);
#ifndef PIRUNE_SOAK_ASAN
  // AddressSanitizer holds freed blocks back for a while, so only the plain build's resident
  // size tells of a leak.
  EXPECT_LT(residentLate, residentEarly + 1024 * kKiB);
#endif

  // Left alone, the hero falls, and the fall's distance takes second place.
  game.run(60000);
  EXPECT_EQ(game.scene(), u"otiru2");
  game.platform.answers.push_back(u"DAEDALUS");
  game.click();
  EXPECT_EQ(game.scene(), u"open");
  EXPECT_EQ(f.rankTable[0], (RankRecord{u"ICARUS    ", 30000}));
  EXPECT_EQ(f.rankTable[1], (RankRecord{u"DAEDALUS  ", 20002}));

  std::int16_t cancel = 0;
  f.Form_Unload(cancel);
  std::ifstream in(game.platform.folder / "scr.dat", std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  ASSERT_EQ(bytes.size(), kRankingBytes);
  EXPECT_EQ(bytes.substr(0, kNameBytes), "ICARUS    ");
  EXPECT_EQ(scoreInFile(bytes, 0), 30000);
  EXPECT_EQ(scoreInFile(bytes, 1), 20002);
}

}  // namespace
}  // namespace pirune::testing
