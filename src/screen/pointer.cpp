// Mouse routing: which procedure of the window a press and a release become.

#include "game/form.h"

namespace pirune {

void FOM::pointerPressed(MouseButton button, std::int16_t shift, float x, float y) {
  Control* hit = window.hitTest(x, y);
  if (hit == nullptr) {
    pressedControl_ = nullptr;
    Form_MouseDown(static_cast<std::int16_t>(button), shift, x, y);
    return;
  }
  pressedControl_ = button == MouseButton::Left ? hit : nullptr;
}

void FOM::pointerReleased(MouseButton button, float x, float y) {
  if (button != MouseButton::Left || pressedControl_ == nullptr) {
    return;
  }
  Control* pressed = pressedControl_;
  pressedControl_ = nullptr;
  if (window.hitTest(x, y) != pressed) {
    return;
  }
  if (pressed == &LBl) {
    LBl_Click();
  } else if (pressed == &IMG) {
    IMG_Click();
  }
}

}  // namespace pirune
