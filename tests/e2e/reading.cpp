#include "reading.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>

#include "bitmap_file.h"

namespace xdriver {

namespace {

// The hero is at most 34 units wide, in endless mode; a little more for the edge.
constexpr double kHeroRegion = 37;

// Measured on the wing pictures as the game shows them.
constexpr double kWingTipsShare = 0.017;
constexpr double kHeadShare = 0.103;
constexpr double kFeetShare = 0.937;
constexpr double kStartHeight = 30;
constexpr double kEndlessHeight = 54;
constexpr double kImageNarrower = 20;

std::string number(double value) {
  std::array<char, 32> text{};
  std::snprintf(text.data(), text.size(), "%.1f", value);
  return text.data();
}

// Black, grey and light grey: shapes too, but also what the white figure's edges may be.
constexpr std::array<int, 3> kShapeGreys{0, 128, 192};

constexpr std::array<Rgb, 12> kShapeColours{{{0, 0, 128},
                                             {0, 128, 0},
                                             {0, 128, 128},
                                             {128, 0, 0},
                                             {128, 0, 128},
                                             {128, 128, 0},
                                             {0, 0, 255},
                                             {0, 255, 0},
                                             {0, 255, 255},
                                             {255, 0, 0},
                                             {255, 0, 255},
                                             {255, 255, 0}}};

bool sameColour(const Rgb& a, const Rgb& b) { return a.r == b.r && a.g == b.g && a.b == b.b; }

// The client area with the solid blocks of the shapes greyed out, so that a red shape in front
// of an ending picture is not taken for a line of its red text: the strokes of a letter are
// thinner than three pixels.
ClientArea withoutShapes(const ClientArea& client) {
  ClientArea clean = client;
  const Picture& p = client.picture;
  std::vector<bool> solid(static_cast<std::size_t>(p.width()) *
                          static_cast<std::size_t>(p.height()));
  const auto at = [&p](int x, int y) {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(p.width()) +
           static_cast<std::size_t>(x);
  };
  for (int y = 1; y + 1 < p.height(); ++y) {
    for (int x = 1; x + 1 < p.width(); ++x) {
      const Rgb& c = p.at(x, y);
      bool block = isShapeColour(c);
      for (int j = -1; j <= 1 && block; ++j) {
        for (int i = -1; i <= 1 && block; ++i) {
          block = sameColour(p.at(x + i, y + j), c);
        }
      }
      solid[at(x, y)] = block;
    }
  }
  for (int y = 1; y + 1 < p.height(); ++y) {
    for (int x = 1; x + 1 < p.width(); ++x) {
      bool near = false;
      for (int j = -1; j <= 1 && !near; ++j) {
        for (int i = -1; i <= 1 && !near; ++i) {
          near = solid[at(x + i, y + j)];
        }
      }
      if (near) {
        clean.picture.at(x, y) = {128, 128, 128};
      }
    }
  }
  return clean;
}

}  // namespace

bool isWhite(const Rgb& p) { return p.r >= 200 && p.g >= 200 && p.b >= 200; }

bool isBlack(const Rgb& p) { return p.r + p.g + p.b < 30; }

bool isRed(const Rgb& p) { return p.r >= 150 && p.g <= 90 && p.b <= 90; }

bool isDark(const Rgb& p) { return p.r + p.g + p.b < 200; }

bool isShapeColour(const Rgb& p) {
  return std::any_of(kShapeColours.begin(), kShapeColours.end(),
                     [&p](const Rgb& c) { return sameColour(c, p); });
}

bool isPaletteColour(const Rgb& p) {
  return isShapeColour(p) || std::any_of(kShapeGreys.begin(), kShapeGreys.end(), [&p](int grey) {
           return p.r == grey && p.g == grey && p.b == grey;
         });
}

std::vector<Span> runs(const std::vector<bool>& marks, int maxGap) {
  std::vector<Span> found;
  int gap = 0;
  for (int i = 0; i < static_cast<int>(marks.size()); ++i) {
    if (!marks[static_cast<std::size_t>(i)]) {
      ++gap;
      continue;
    }
    if (!found.empty() && gap <= maxGap) {
      found.back().last = i;
    } else {
      found.push_back({i, i});
    }
    gap = 0;
  }
  return found;
}

std::optional<Hero> findHero(const ClientArea& client) {
  const Picture& p = client.picture;
  const int right = client.pixelX(kHeroRegion);
  std::vector<bool> white(static_cast<std::size_t>(p.height()));
  for (int y = 0; y < p.height(); ++y) {
    for (int x = 0; x <= right && !white[static_cast<std::size_t>(y)]; ++x) {
      white[static_cast<std::size_t>(y)] = isWhite(p.at(x, y));
    }
  }
  // A short run at the very top is the label's text; the hero below it is separate unless he
  // flies so high that he touches it.
  const auto rowsOf = runs(white, client.pixelY(1));
  const Span* top = nullptr;
  for (const Span& run : rowsOf) {
    const bool text = client.unitsY(run.first) < 1.5 && client.unitsY(run.last) < 16;
    if (!text) {
      top = &run;
      break;
    }
  }
  if (top == nullptr) {
    return std::nullopt;
  }
  // His lowest row within his greatest height; shapes in front may cut him into pieces.
  const int lowestAllowed = top->first + client.pixelY(60);
  int bottom = top->last;
  for (const Span& run : rowsOf) {
    if (run.first >= top->first && run.first <= lowestAllowed) {
      bottom = std::max(bottom, std::min(run.last, lowestAllowed));
    }
  }
  // His width below the label's lines, where only he is white.
  const int widthFrom = std::max(top->first, std::min(bottom, client.pixelY(16)));
  int left = std::numeric_limits<int>::max();
  int rightmost = -1;
  long pixels = 0;
  for (int y = widthFrom; y <= bottom; ++y) {
    for (int x = 0; x <= right; ++x) {
      if (isWhite(p.at(x, y))) {
        left = std::min(left, x);
        rightmost = std::max(rightmost, x);
        ++pixels;
      }
    }
  }
  if (pixels < 12) {
    return std::nullopt;
  }
  Hero hero;
  hero.figure = Box{client.unitsX(left), client.unitsY(top->first), client.unitsX(rightmost + 1),
                    client.unitsY(bottom + 1)};
  // Wings up, his highest white is at both sides; wings down, it is his head in the middle.
  const double middle = (left + rightmost) / 2.0;
  const double half = std::max(1.0, (rightmost - left) / 2.0);
  double spread = 0;
  int topPixels = 0;
  for (int y = top->first; y <= std::min(bottom, top->first + client.pixelY(1.5)); ++y) {
    for (int x = 0; x <= right; ++x) {
      if (isWhite(p.at(x, y))) {
        spread += std::abs(x - middle) / half;
        ++topPixels;
      }
    }
  }
  hero.wingsUp = topPixels > 0 && spread / topPixels > 0.4;
  // Where his figure begins and ends within his image, as shares of its height; his feet end
  // at the same place in both pictures.
  const double topShare = hero.wingsUp ? kWingTipsShare : kHeadShare;
  // A shape in front of his feet makes him look shorter than he can be.
  const double height =
      hero.figure.bottom < 99.5
          ? std::clamp((hero.figure.bottom - hero.figure.top) / (kFeetShare - topShare),
                       kStartHeight, kEndlessHeight)
          : kStartHeight;
  hero.imageTop = hero.figure.top - topShare * height;
  hero.imageHeight = height;
  return hero;
}

TextLines findText(const ClientArea& client, const std::function<bool(const Rgb&)>& ink,
                   const Box& region, const std::optional<Box>& without) {
  const Picture& p = client.picture;
  const int x0 = client.pixelX(region.left);
  const int x1 = client.pixelX(region.right);
  const int y0 = client.pixelY(region.top);
  const int y1 = client.pixelY(region.bottom);
  const auto outside = [&](int x, int y) {
    return !without || x < client.pixelX(without->left) || x > client.pixelX(without->right) ||
           y < client.pixelY(without->top) || y > client.pixelY(without->bottom);
  };
  std::vector<bool> rows(static_cast<std::size_t>(std::max(0, y1 - y0)));
  int left = std::numeric_limits<int>::max();
  int right = -1;
  for (int y = y0; y < y1; ++y) {
    int count = 0;
    for (int x = x0; x < x1; ++x) {
      if (ink(p.at(x, y)) && outside(x, y)) {
        ++count;
        left = std::min(left, x);
        right = std::max(right, x);
      }
    }
    rows[static_cast<std::size_t>(y - y0)] = count > 0;
  }
  TextLines text;
  const int minHeight = client.pixelY(1.5);
  for (const Span& line : runs(rows, 1)) {
    if (line.last - line.first + 1 < minHeight) {
      continue;
    }
    if (text.count == 0) {
      text.box.top = client.unitsY(y0 + line.first);
    }
    text.box.bottom = client.unitsY(y0 + line.last + 1);
    ++text.count;
  }
  if (text.count > 0) {
    text.box.left = client.unitsX(left);
    text.box.right = client.unitsX(right + 1);
  }
  return text;
}

Metrics lookAtFlight(const ClientArea& client) { return lookAtFlight(client, findHero(client)); }

Metrics lookAtFlight(const ClientArea& client, const std::optional<Hero>& hero) {
  Metrics m;
  m.emplace_back("hero", hero ? "1" : "0");
  std::optional<Box> heroOutline;
  if (hero) {
    const Box& f = hero->figure;
    m.emplace_back("hero_top", number(f.top));
    m.emplace_back("hero_bottom", number(f.bottom));
    m.emplace_back("hero_left", number(f.left));
    m.emplace_back("hero_right", number(f.right));
    m.emplace_back("hero_frame", hero->wingsUp ? "1" : "2");
    m.emplace_back("altitude", number(100 - hero->imageTop));
    // His whole image, wing tips included, whatever stands beside him at the top.
    const double right = std::max(hero->imageHeight - kImageNarrower, f.right);
    heroOutline = Box{0, hero->imageTop - 0.5, right + 1, hero->imageTop + hero->imageHeight + 0.5};
  }
  // Where the hero flies up beside the label's text, the text is what stands right of him.
  const TextLines white = findText(client, isWhite, {0, 0, 100, 45}, heroOutline);
  m.emplace_back("white_rows", std::to_string(white.count));
  m.emplace_back("white_top", number(white.count > 0 ? white.box.top : 0));
  m.emplace_back("white_left", number(white.count > 0 ? white.box.left : 0));
  m.emplace_back("white_right", number(white.count > 0 ? white.box.right : 0));
  m.emplace_back("white_bottom", number(white.count > 0 ? white.box.bottom : 0));
  return m;
}

Metrics look(const ClientArea& client, const LookOptions& options) {
  Metrics m;
  const Picture& p = client.picture;
  long black = 0;
  long lower = 0;
  long coloured = 0;
  for (int y = 0; y < p.height(); ++y) {
    for (int x = 0; x < p.width(); ++x) {
      const Rgb& q = p.at(x, y);
      if (y >= p.height() / 5) {
        ++lower;
        black += isBlack(q) ? 1 : 0;
      }
      coloured += isShapeColour(q) ? 1 : 0;
    }
  }
  m.emplace_back("black", std::to_string(lower == 0 ? 0 : 100 * black / lower));
  m.emplace_back("coloured", std::to_string(coloured));
  const Metrics flight = lookAtFlight(client);
  m.insert(m.end(), flight.begin(), flight.end());

  const ClientArea clean = withoutShapes(client);
  const TextLines red = findText(clean, isRed, {0, 0, 100, 40});
  m.emplace_back("red_rows", std::to_string(red.count));
  m.emplace_back("red_centre", number(red.count > 0 ? (red.box.left + red.box.right) / 2 : 0));
  const TextLines dark = findText(clean, isDark, {0, 0, 100, 30});
  m.emplace_back("dark_rows", std::to_string(dark.count));
  m.emplace_back("dark_centre", number(dark.count > 0 ? (dark.box.left + dark.box.right) / 2 : 0));

  std::string best = "none";
  double bestDifference = std::numeric_limits<double>::max();
  for (const std::string& path : options.bitmaps) {
    const auto bitmap = loadBitmap(path);
    if (!bitmap) {
      continue;
    }
    // Below the label's lines, which lie over the top of every story picture.
    const double difference = pictureDifference(client, *bitmap, 30);
    const std::string name = std::filesystem::path(path).stem().string();
    m.emplace_back("pic_" + name, number(difference));
    if (difference < bestDifference) {
      bestDifference = difference;
      best = name;
    }
  }
  if (!options.bitmaps.empty()) {
    // A picture is shown when it is near; the black of a flight is near none of them.
    m.emplace_back("pic", bestDifference < 8 ? best : "none");
  }
  if (options.reference) {
    m.emplace_back("differs", number(percentDiffering(p, *options.reference)));
  }
  return m;
}

}  // namespace xdriver
