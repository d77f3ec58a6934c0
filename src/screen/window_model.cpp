#include "screen/window_model.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace pirune {

template <typename T, typename... Args>
T& WindowModel::add(Args&&... args) {
  auto control = std::make_unique<T>(*this, std::forward<Args>(args)...);
  T& ref = *control;
  controls_.push_back(std::move(control));
  zOrder_.push_back(&ref);
  touch();
  return ref;
}

Image& WindowModel::addImage(std::string name, bool stretch) {
  return add<Image>(std::move(name), stretch);
}

Label& WindowModel::addLabel(std::string name) { return add<Label>(std::move(name)); }

Shape& WindowModel::addShape(std::string name) { return add<Shape>(std::move(name)); }

Shape& WindowModel::addShapeLike(const Shape& model, std::string name) {
  Shape& shape = addShape(std::move(name));
  shape.setVisible(false);
  shape.Move(model.Left(), model.Top(), model.Width(), model.Height());
  shape.setBackColor(model.BackColor());
  return shape;
}

std::vector<const Control*> WindowModel::paintList() const {
  std::vector<const Control*> list;
  std::copy_if(zOrder_.begin(), zOrder_.end(), std::back_inserter(list),
               [](const Control* c) { return c->Visible(); });
  return list;
}

Control* WindowModel::hitTest(float x, float y) const {
  for (auto it = zOrder_.rbegin(); it != zOrder_.rend(); ++it) {
    Control* c = *it;
    if (c->kind() != ControlKind::Shape && c->Visible() && c->rect().contains(x, y)) {
      return c;
    }
  }
  return nullptr;
}

void WindowModel::bringToFront(Control& control) {
  auto it = std::find(zOrder_.begin(), zOrder_.end(), &control);
  if (it == zOrder_.end() || std::next(it) == zOrder_.end()) {
    return;
  }
  std::rotate(it, std::next(it), zOrder_.end());
  touch();
}

void WindowModel::sendToBack(Control& control) {
  auto it = std::find(zOrder_.begin(), zOrder_.end(), &control);
  if (it == zOrder_.end() || it == zOrder_.begin()) {
    return;
  }
  std::rotate(zOrder_.begin(), it, std::next(it));
  touch();
}

}  // namespace pirune
