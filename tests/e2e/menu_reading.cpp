#include "menu_reading.h"

#include <algorithm>
#include <cstdlib>

#include "reading.h"
#include "screen_grab.h"

namespace xdriver {

namespace {

int sum(const Rgb& p) { return p.r + p.g + p.b; }

int difference(const Rgb& a, const Rgb& b) {
  return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
}

// Letters of a title stand closer together than two titles do.
constexpr int kTitleGap = 8;
// Between two lines of a box's text, in pixels.
constexpr int kLineGap = 8;

}  // namespace

std::optional<MenuBarTitles> findMenuTitles(const Session& session, Window game) {
  const auto geometry = session.geometry(game);
  if (!geometry) {
    return std::nullopt;
  }
  const Picture window = Picture::grab(session, *geometry);
  const int bar = menuBarHeight(window);
  std::vector<bool> ink(static_cast<std::size_t>(window.width()));
  for (int x = 0; x < window.width(); ++x) {
    for (int y = 2; y < bar - 2 && !ink[static_cast<std::size_t>(x)]; ++y) {
      ink[static_cast<std::size_t>(x)] = sum(window.at(x, y)) < 400;
    }
  }
  MenuBarTitles titles;
  titles.y = geometry->y + bar / 2;
  for (const Span& title : runs(ink, kTitleGap)) {
    titles.x.push_back(geometry->x + (title.first + title.last) / 2);
  }
  return titles;
}

std::vector<MenuItemLook> readMenu(const Session& session, Window popup) {
  std::vector<MenuItemLook> items;
  const auto geometry = session.geometry(popup);
  if (!geometry) {
    return items;
  }
  const Picture menu = Picture::grabSettled(session, *geometry);
  const int w = menu.width();
  const int h = menu.height();
  if (w < 12 || h < 12) {
    return items;
  }
  // Inside the frame, clear of the items' texts.
  const Rgb background = menu.at(w - 4, 3);
  const auto inked = [&](int x, int y) { return difference(menu.at(x, y), background) > 60; };

  std::vector<bool> rows(static_cast<std::size_t>(h));
  for (int y = 3; y < h - 3; ++y) {
    for (int x = 3; x < w - 3 && !rows[static_cast<std::size_t>(y)]; ++x) {
      rows[static_cast<std::size_t>(y)] = inked(x, y);
    }
  }
  for (const Span& row : runs(rows, 2)) {
    if (row.last - row.first < 5) {
      continue;
    }
    std::vector<bool> columns(static_cast<std::size_t>(w));
    for (int x = 3; x < w - 3; ++x) {
      for (int y = row.first; y <= row.last && !columns[static_cast<std::size_t>(x)]; ++y) {
        columns[static_cast<std::size_t>(x)] = inked(x, y);
      }
    }
    const auto parts = runs(columns, 2);
    if (parts.empty()) {
      continue;
    }
    MenuItemLook item;
    item.y = geometry->y + (row.first + row.last) / 2;
    std::size_t textFrom = 0;
    const Span& first = parts.front();
    const int boxWidth = first.last - first.first + 1;
    if (first.first < 20 && boxWidth >= 9 && boxWidth <= 18 && parts.size() > 1) {
      // The check box: a mark stands out from the box's fill, black in an enabled item and
      // grey in a greyed-out one.
      int lightest = 0;
      int darkest = 3 * 255;
      for (int y = row.first + 2; y <= row.last - 2; ++y) {
        for (int x = first.first + 2; x <= first.last - 2; ++x) {
          lightest = std::max(lightest, sum(menu.at(x, y)));
          darkest = std::min(darkest, sum(menu.at(x, y)));
        }
      }
      item.checked = lightest - darkest > 90 ? 1 : 0;
      textFrom = 1;
    }
    // Greyed-out letters are light; enabled ones are black.
    for (std::size_t part = textFrom; part < parts.size() && !item.enabled; ++part) {
      for (int x = parts[part].first; x <= parts[part].last && !item.enabled; ++x) {
        for (int y = row.first; y <= row.last; ++y) {
          if (sum(menu.at(x, y)) < 300) {
            item.enabled = true;
            break;
          }
        }
      }
    }
    items.push_back(item);
  }
  return items;
}

int countBoxLines(const Session& session, Window box) {
  const auto geometry = session.geometry(box);
  if (!geometry) {
    return 0;
  }
  const Picture picture = Picture::grabSettled(session, *geometry);
  // The lines begin at the left; the buttons stand at the bottom right, in narrow boxes from a
  // third of the width.
  const int textRight = picture.width() * 3 / 10;
  std::vector<bool> rows(static_cast<std::size_t>(picture.height()));
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < textRight && !rows[static_cast<std::size_t>(y)]; ++x) {
      rows[static_cast<std::size_t>(y)] = sum(picture.at(x, y)) < 300;
    }
  }
  int lines = 0;
  int previous = -1;
  for (const Span& line : runs(rows, 1)) {
    if (line.last - line.first < 5) {
      continue;
    }
    // The text is one block; the input field and the buttons stand further apart below it.
    if (previous >= 0 && line.first - previous > kLineGap) {
      break;
    }
    ++lines;
    previous = line.last;
  }
  return lines;
}

}  // namespace xdriver
