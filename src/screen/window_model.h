#pragma once
// The game window as the player sees it: the controls in their z-order, what to paint back to
// front, and which control a point of the client area hits. All positions are in units: the
// client area is 100 by 100 units whatever its size in pixels.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "screen/controls.h"

namespace pirune {

inline constexpr float kScaleWidth = 100;
inline constexpr float kScaleHeight = 100;

class WindowModel {
 public:
  WindowModel() = default;
  WindowModel(const WindowModel&) = delete;
  WindowModel& operator=(const WindowModel&) = delete;
  WindowModel(WindowModel&&) = delete;
  WindowModel& operator=(WindowModel&&) = delete;
  ~WindowModel() = default;

  // A new control is placed in front of every control made before it.
  Image& addImage(std::string name, bool stretch);
  Label& addLabel(std::string name);
  Shape& addShape(std::string name);
  // A new element of a shape array: a copy of `model` in everything but visibility.
  Shape& addShapeLike(const Shape& model, std::string name);

  // Visible controls, furthest back first.
  [[nodiscard]] std::vector<const Control*> paintList() const;
  // The front-most visible image or label whose rectangle holds the point; shapes never catch it.
  [[nodiscard]] Control* hitTest(float x, float y) const;
  // Back to front, visible or not.
  [[nodiscard]] const std::vector<Control*>& zOrder() const { return zOrder_; }

  // Moves whenever anything visible changes.
  [[nodiscard]] std::uint64_t revision() const { return revision_; }
  void touch() { ++revision_; }

  void bringToFront(Control& control);
  void sendToBack(Control& control);

 private:
  template <typename T, typename... Args>
  T& add(Args&&... args);

  std::vector<std::unique_ptr<Control>> controls_;
  std::vector<Control*> zOrder_;
  std::uint64_t revision_ = 0;
};

}  // namespace pirune
