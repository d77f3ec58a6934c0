#include "screen_grab.h"

#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <thread>
#include <utility>

namespace xdriver {

namespace {

bool barGrey(const Rgb& p) {
  const int spread = std::max({p.r, p.g, p.b}) - std::min({p.r, p.g, p.b});
  return spread <= 3 && p.r >= 180;
}

int channel(unsigned long pixel, unsigned long mask) {
  if (mask == 0) {
    return 0;
  }
  int shift = 0;
  while (((mask >> shift) & 1UL) == 0) {
    ++shift;
  }
  const unsigned long max = mask >> shift;
  return static_cast<int>(((pixel & mask) >> shift) * 255 / max);
}

}  // namespace

Picture::Picture(int width, int height)
    : width_(width),
      height_(height),
      pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {}

Picture Picture::grab(const Session& session, const Geometry& area) {
  // The screen's part only: a window may reach beyond its edges.
  const int x0 = std::max(0, area.x);
  const int y0 = std::max(0, area.y);
  const int x1 = std::min(session.screenWidth(), area.x + area.width);
  const int y1 = std::min(session.screenHeight(), area.y + area.height);
  Picture picture(std::max(0, area.width), std::max(0, area.height));
  if (x1 <= x0 || y1 <= y0) {
    return picture;
  }
  const auto destroy = [](XImage* i) { XDestroyImage(i); };
  std::unique_ptr<XImage, decltype(destroy)> image(
      XGetImage(session.display(), session.root(), x0, y0, static_cast<unsigned>(x1 - x0),
                static_cast<unsigned>(y1 - y0), AllPlanes, ZPixmap),
      destroy);
  if (!image) {
    return picture;
  }
  const bool plain = image->bits_per_pixel == 32 && image->red_mask == 0xff0000 &&
                     image->green_mask == 0xff00 && image->blue_mask == 0xff &&
                     image->byte_order == LSBFirst;
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      Rgb& p = picture.at(x - area.x, y - area.y);
      if (plain) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(
            image->data + static_cast<std::ptrdiff_t>(y - y0) * image->bytes_per_line +
            static_cast<std::ptrdiff_t>(x - x0) * 4);
        p = {bytes[2], bytes[1], bytes[0]};
      } else {
        const unsigned long v = XGetPixel(image.get(), x - x0, y - y0);
        p = {static_cast<std::uint8_t>(channel(v, image->red_mask)),
             static_cast<std::uint8_t>(channel(v, image->green_mask)),
             static_cast<std::uint8_t>(channel(v, image->blue_mask))};
      }
    }
  }
  return picture;
}

Picture Picture::grabSettled(const Session& session, const Geometry& area) {
  constexpr auto kLookAgain = std::chrono::milliseconds(25);
  constexpr auto kAtMost = std::chrono::milliseconds(1500);
  const auto deadline = std::chrono::steady_clock::now() + kAtMost;
  Picture last = grab(session, area);
  while (std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(kLookAgain);
    Picture now = grab(session, area);
    if (now == last) {
      return now;
    }
    last = std::move(now);
  }
  return last;
}

bool Picture::operator==(const Picture& other) const {
  return width_ == other.width_ && height_ == other.height_ &&
         std::equal(
             pixels_.begin(), pixels_.end(), other.pixels_.begin(),
             [](const Rgb& a, const Rgb& b) { return a.r == b.r && a.g == b.g && a.b == b.b; });
}

Picture Picture::crop(int x, int y, int width, int height) const {
  Picture part(width, height);
  for (int j = 0; j < height; ++j) {
    for (int i = 0; i < width; ++i) {
      part.at(i, j) = at(x + i, y + j);
    }
  }
  return part;
}

bool Picture::savePpm(const std::string& path) const {
  std::ofstream out(path, std::ios::binary);
  out << "P6\n" << width_ << " " << height_ << "\n255\n";
  out.write(reinterpret_cast<const char*>(pixels_.data()),
            static_cast<std::streamsize>(pixels_.size() * sizeof(Rgb)));
  return static_cast<bool>(out);
}

std::optional<Picture> Picture::loadPpm(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string magic;
  int width = 0;
  int height = 0;
  int max = 0;
  in >> magic >> width >> height >> max;
  in.get();
  if (!in || magic != "P6" || max != 255 || width <= 0 || height <= 0) {
    return std::nullopt;
  }
  Picture picture(width, height);
  in.read(reinterpret_cast<char*>(picture.pixels_.data()),
          static_cast<std::streamsize>(picture.pixels_.size() * sizeof(Rgb)));
  if (!in) {
    return std::nullopt;
  }
  return picture;
}

int ClientArea::pixelX(double units) const {
  return std::clamp(static_cast<int>(std::lround(units * picture.width() / 100.0)), 0,
                    std::max(0, picture.width() - 1));
}

int ClientArea::pixelY(double units) const {
  return std::clamp(static_cast<int>(std::lround(units * picture.height() / 100.0)), 0,
                    std::max(0, picture.height() - 1));
}

int menuBarHeight(const Picture& window) {
  // The bar's right end holds no menu title.
  const int from = std::max(0, window.width() - 10);
  const int to = window.width() - 2;
  int rows = 0;
  while (rows < window.height() / 4) {
    bool grey = true;
    for (int x = from; x < to && grey; x += 2) {
      grey = barGrey(window.at(x, rows));
    }
    if (!grey) {
      break;
    }
    ++rows;
  }
  return rows;
}

std::optional<ClientArea> grabClient(const Session& session, Window game) {
  const auto geometry = session.geometry(game);
  if (!geometry || geometry->width < 10 || geometry->height < 10) {
    return std::nullopt;
  }
  const Picture window = Picture::grab(session, *geometry);
  ClientArea client;
  client.barHeight = menuBarHeight(window);
  client.onScreen = {geometry->x, geometry->y + client.barHeight, geometry->width,
                     geometry->height - client.barHeight};
  client.picture = window.crop(0, client.barHeight, window.width(), client.onScreen.height);
  return client;
}

}  // namespace xdriver
