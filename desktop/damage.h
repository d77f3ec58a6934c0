#pragma once
// What a frame has to paint: the pixels where a control came, went, moved or changed its looks
// since the frame before. Everywhere else the window already shows what the model says, so the
// background effect's small shapes cost a few small rectangles a frame, not the whole window.

#include <QRect>
#include <QRegion>
#include <cstdint>
#include <string>
#include <vector>

#include "screen/color.h"
#include "screen/controls.h"
#include "screen/picture.h"
#include "screen/window_model.h"

namespace pirune::desktop {

class DamageTracker {
 public:
  // The pixels of `client` that differ between the window as last taken and as it is now:
  // the whole client area the first time and whenever it changed. From then on the window as
  // it is now counts as painted.
  [[nodiscard]] QRegion take(const WindowModel& window, const QRect& client);

 private:
  // Everything of a control that shows, and the pixels it may touch. Pictures never change
  // once loaded, so the same picture is the same pixels.
  struct Look {
    const Control* control = nullptr;
    QRect pixels;
    PictureRef picture;
    Color color;
    std::u16string caption;
    Alignment alignment = Alignment::Left;
    float fontSize = 0;

    [[nodiscard]] bool sameAs(const Look& other) const;
  };

  static Look lookOf(const Control& control, const QRect& client);

  std::vector<Look> painted_;
  std::vector<Look> before_;
  QRect client_;
  bool taken_ = false;
};

}  // namespace pirune::desktop
