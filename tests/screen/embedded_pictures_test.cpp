// The pictures built into the program: the hero's two wing frames and the window icon, read
// back byte by byte as the desktop's bitmap loader will read them.

#include "embedded_pictures.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <set>
#include <span>
#include <tuple>

namespace pirune {
namespace {

std::uint32_t le(std::span<const unsigned char> bytes, std::size_t at, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) {
    value = (value << 8) | bytes[at + static_cast<std::size_t>(i)];
  }
  return value;
}

struct Bmp {
  std::span<const unsigned char> bytes;

  [[nodiscard]] std::uint32_t dataOffset() const { return le(bytes, 10, 4); }
  [[nodiscard]] std::int32_t width() const { return static_cast<std::int32_t>(le(bytes, 18, 4)); }
  [[nodiscard]] std::int32_t height() const { return static_cast<std::int32_t>(le(bytes, 22, 4)); }
  [[nodiscard]] std::uint32_t bits() const { return le(bytes, 28, 2); }
  [[nodiscard]] std::uint32_t stride() const { return ((width() * bits() + 31) / 32) * 4; }

  // Red, green, blue and the reserved byte of a palette entry.
  [[nodiscard]] std::tuple<int, int, int, int> paletteEntry(std::size_t i) const {
    const std::size_t at = 14 + le(bytes, 14, 4) + 4 * i;
    return {bytes[at + 2], bytes[at + 1], bytes[at], bytes[at + 3]};
  }

  // The palette index at (x, y), y counted from the top as on the screen.
  [[nodiscard]] int index(int x, int y) const {
    const std::size_t row = dataOffset() + static_cast<std::size_t>(height() - 1 - y) * stride();
    if (bits() == 1) {
      return (bytes[row + static_cast<std::size_t>(x / 8)] >> (7 - x % 8)) & 1;
    }
    return bytes[row + static_cast<std::size_t>(x)];
  }
};

void expectPlainHeader(const Bmp& bmp, std::uint32_t bits, std::uint32_t colours, int size) {
  ASSERT_GE(bmp.bytes.size(), 54U);
  EXPECT_EQ(bmp.bytes[0], 'B');
  EXPECT_EQ(bmp.bytes[1], 'M');
  EXPECT_EQ(le(bmp.bytes, 2, 4), bmp.bytes.size());
  EXPECT_EQ(le(bmp.bytes, 14, 4), 40U);  // the plain Windows info header
  EXPECT_EQ(bmp.width(), size);
  EXPECT_EQ(bmp.height(), size);  // positive: rows bottom-up, as every loader reads
  EXPECT_EQ(le(bmp.bytes, 26, 2), 1U);
  EXPECT_EQ(bmp.bits(), bits);
  EXPECT_EQ(le(bmp.bytes, 30, 4), 0U);  // uncompressed
  const std::uint32_t used = le(bmp.bytes, 46, 4);
  EXPECT_TRUE(used == 0 || used == colours) << used;
  EXPECT_EQ(bmp.dataOffset(), 14 + 40 + 4 * colours);
  EXPECT_EQ(bmp.bytes.size(), bmp.dataOffset() + bmp.stride() * static_cast<std::uint32_t>(size));
}

int whiteIn(const Bmp& frame, int left, int top, int right, int bottom) {
  int white = 0;
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) {
      white += frame.index(x, y);
    }
  }
  return white;
}

TEST(EmbeddedPictures, WingFramesAreOneBitBlackAndWhite100By100) {
  for (const Bmp frame : {Bmp{embedded::wingFrame1Bmp()}, Bmp{embedded::wingFrame2Bmp()}}) {
    SCOPED_TRACE(frame.bytes.data() == embedded::wingFrame1Bmp().data() ? "frame 1" : "frame 2");
    expectPlainHeader(frame, 1, 2, 100);
    EXPECT_EQ(frame.bytes.size(), 62U + 16U * 100U);
    EXPECT_EQ(frame.paletteEntry(0), std::make_tuple(0, 0, 0, 0));
    EXPECT_EQ(frame.paletteEntry(1), std::make_tuple(255, 255, 255, 0));
  }
}

TEST(EmbeddedPictures, WingFramesShowTheHeroUprightWhiteOnBlackAndWhole) {
  for (const Bmp frame : {Bmp{embedded::wingFrame1Bmp()}, Bmp{embedded::wingFrame2Bmp()}}) {
    SCOPED_TRACE(frame.bytes.data() == embedded::wingFrame1Bmp().data() ? "frame 1" : "frame 2");
    const int white = whiteIn(frame, 0, 0, 100, 100);
    EXPECT_GT(white, 1500);  // a figure, not a speck
    EXPECT_LT(white, 5000);  // on black, not a white block

    // Head up, feet down: the middle of the frame is white at the head and at the legs.
    EXPECT_GT(whiteIn(frame, 45, 10, 55, 20), 60);
    EXPECT_GT(whiteIn(frame, 44, 80, 56, 88), 40);

    // Nothing is cut off by the frame's edges.
    EXPECT_EQ(whiteIn(frame, 0, 0, 100, 1) + whiteIn(frame, 0, 99, 100, 100), 0);
    EXPECT_EQ(whiteIn(frame, 0, 0, 1, 100) + whiteIn(frame, 99, 0, 100, 100), 0);

    // He faces the player: the two sides mirror each other, pixel for pixel all but a few
    // (bits in the wrong order inside a byte would tear this apart).
    int unlike = 0;
    for (int y = 0; y < 100; ++y) {
      for (int x = 0; x < 50; ++x) {
        unlike += frame.index(x, y) != frame.index(99 - x, y) ? 1 : 0;
      }
    }
    EXPECT_LT(unlike, white / 50);
  }
}

TEST(EmbeddedPictures, FrameOneHasTheWingsUpAndFrameTwoDown) {
  const Bmp up{embedded::wingFrame1Bmp()};
  const Bmp down{embedded::wingFrame2Bmp()};
  int differ = 0;
  for (int y = 0; y < 100; ++y) {
    for (int x = 0; x < 100; ++x) {
      differ += up.index(x, y) != down.index(x, y) ? 1 : 0;
    }
  }
  EXPECT_GT(differ, 600);

  // Beside the head, above the shoulders: wing tips in frame 1 only.
  EXPECT_GT(whiteIn(up, 0, 0, 30, 22), 150);
  EXPECT_EQ(whiteIn(down, 0, 0, 30, 22), 0);
  // Along his legs, well out to the side: hanging wings in frame 2 only.
  EXPECT_GT(whiteIn(down, 0, 45, 25, 65), 150);
  EXPECT_EQ(whiteIn(up, 0, 45, 25, 65), 0);
  // The body between them is the same in both.
  EXPECT_EQ(whiteIn(up, 42, 55, 58, 95), whiteIn(down, 42, 55, 58, 95));
}

TEST(EmbeddedPictures, IconIs16By16With256PaletteColours) {
  const Bmp icon{embedded::iconBmp()};
  expectPlainHeader(icon, 8, 256, 16);
  EXPECT_EQ(icon.bytes.size(), 14U + 40U + 1024U + 256U);

  std::set<int> used;
  bool gold = false;
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      const auto [r, g, b, reserved] =
          icon.paletteEntry(static_cast<std::size_t>(icon.index(x, y)));
      EXPECT_EQ(reserved, 0);
      used.insert(icon.index(x, y));
      gold = gold || (r > 220 && g > 170 && b < 200);
    }
  }
  EXPECT_GT(used.size(), 8U);  // a picture, not a flat square
  EXPECT_TRUE(gold) << "the star of the icon";
  // The night around the star and the wing is dark blue.
  const auto [r, g, b, reserved] = icon.paletteEntry(static_cast<std::size_t>(icon.index(15, 15)));
  EXPECT_LT(r, 80);
  EXPECT_GT(b, r);
  EXPECT_GT(b, g);
}

}  // namespace
}  // namespace pirune
