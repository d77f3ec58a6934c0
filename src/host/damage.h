#pragma once
// What a frame has to paint: the pixels where a control came, went, moved or changed its looks
// since the frame before. Everywhere else the window already shows what the model says, so the
// background effect's small shapes cost a few small rectangles a frame, not the whole window.

#include <functional>
#include <string>
#include <vector>

#include "host/pixels.h"
#include "screen/color.h"
#include "screen/controls.h"
#include "screen/picture.h"
#include "screen/window_model.h"

namespace pirune {

// The pixels a label's text may touch; a shell's font decides them.
using TextInk = std::function<PixelRect(const Label& label)>;

class DamageTracker {
 public:
  // The pixels of the client area that differ between the window as last taken and as it is
  // now: the whole client area the first time and whenever its size changed. From then on the
  // window as it is now counts as painted. A label's text damages only its ink, not its box.
  [[nodiscard]] Region take(const WindowModel& window, const ClientGeometry& client,
                            const TextInk& textInk);
  // Another window takes the client area: the next take() is all of it.
  void forget() { taken_ = false; }

 private:
  // Everything of a control that shows, and the pixels it may touch. Pictures never change
  // once loaded, so the same picture is the same pixels.
  struct Look {
    const Control* control = nullptr;
    PixelRect pixels;
    PictureRef picture;
    Color color;
    std::u16string caption;
    Alignment alignment = Alignment::Left;
    float fontSize = 0;

    [[nodiscard]] bool sameAs(const Look& other) const;
  };

  static Look lookOf(const Control& control, const ClientGeometry& client, const TextInk& textInk);

  std::vector<Look> painted_;
  std::vector<Look> before_;
  ClientGeometry client_;
  bool taken_ = false;
};

}  // namespace pirune
