#include "screen/controls.h"

#include <utility>

#include "screen/window_model.h"

namespace pirune {

Control::Control(WindowModel& owner, ControlKind kind, std::string name)
    : owner_(owner), kind_(kind), name_(std::move(name)) {}

void Control::changed() { owner_.touch(); }

void Control::Move(float left, float top, float width, float height) {
  const Rect next{left, top, width, height};
  if (next == rect_) {
    return;
  }
  rect_ = next;
  changed();
}

void Control::setWidth(float width) { Move(rect_.left, rect_.top, width, rect_.height); }

void Control::setHeight(float height) { Move(rect_.left, rect_.top, rect_.width, height); }

void Control::setVisible(bool visible) {
  if (visible == visible_) {
    return;
  }
  visible_ = visible;
  changed();
}

void Control::ZOrder(int position) {
  if (position == 0) {
    owner_.bringToFront(*this);
  } else {
    owner_.sendToBack(*this);
  }
}

Image::Image(WindowModel& owner, std::string name, bool stretch)
    : Control(owner, ControlKind::Image, std::move(name)), stretch_(stretch) {}

void Image::setPicture(PictureRef picture) {
  if (picture == picture_) {
    return;
  }
  picture_ = std::move(picture);
  changed();
}

Label::Label(WindowModel& owner, std::string name)
    : Control(owner, ControlKind::Label, std::move(name)) {}

void Label::setCaption(std::u16string caption) {
  if (caption == caption_) {
    return;
  }
  caption_ = std::move(caption);
  changed();
}

void Label::setForeColor(Color color) {
  if (color == foreColor_) {
    return;
  }
  foreColor_ = color;
  changed();
}

void Label::setAlignment(Alignment alignment) {
  if (alignment == alignment_) {
    return;
  }
  alignment_ = alignment;
  changed();
}

void Label::setFontSize(float points) {
  if (points == fontSize_) {
    return;
  }
  fontSize_ = points;
  changed();
}

Shape::Shape(WindowModel& owner, std::string name)
    : Control(owner, ControlKind::Shape, std::move(name)) {}

void Shape::setBackColor(Color color) {
  if (color == backColor_) {
    return;
  }
  backColor_ = color;
  changed();
}

}  // namespace pirune
