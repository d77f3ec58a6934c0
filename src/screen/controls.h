#pragma once
// The lightweight controls drawn on the game window. Every visible change bumps the window's
// revision, so a shell repaints only when something the player can see has moved.

#include <string>

#include "screen/color.h"
#include "screen/picture.h"

namespace pirune {

class WindowModel;

struct Rect {
  float left = 0;
  float top = 0;
  float width = 0;
  float height = 0;

  [[nodiscard]] bool contains(float x, float y) const {
    return x >= left && x < left + width && y >= top && y < top + height;
  }
  friend bool operator==(const Rect&, const Rect&) = default;
};

enum class ControlKind { Image, Label, Shape };

enum class Alignment { Left = 0, Right = 1, Center = 2 };

class Control {
 public:
  Control(WindowModel& owner, ControlKind kind, std::string name);
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  Control(Control&&) = delete;
  Control& operator=(Control&&) = delete;
  virtual ~Control() = default;

  [[nodiscard]] ControlKind kind() const { return kind_; }
  [[nodiscard]] const std::string& name() const { return name_; }

  [[nodiscard]] float Left() const { return rect_.left; }
  [[nodiscard]] float Top() const { return rect_.top; }
  [[nodiscard]] float Width() const { return rect_.width; }
  [[nodiscard]] float Height() const { return rect_.height; }
  [[nodiscard]] const Rect& rect() const { return rect_; }
  [[nodiscard]] bool Visible() const { return visible_; }

  void Move(float left, float top, float width, float height);
  void setWidth(float width);
  void setHeight(float height);
  void setVisible(bool visible);
  // 0 brings the control in front of every other control, 1 sends it behind all of them.
  void ZOrder(int position);

 protected:
  void changed();

 private:
  WindowModel& owner_;
  ControlKind kind_;
  std::string name_;
  Rect rect_;
  bool visible_ = true;
};

class Image : public Control {
 public:
  Image(WindowModel& owner, std::string name, bool stretch);

  [[nodiscard]] const PictureRef& Picture() const { return picture_; }
  void setPicture(PictureRef picture);
  // A stretching image scales its picture to its rectangle; the others draw it at natural size.
  [[nodiscard]] bool Stretch() const { return stretch_; }

 private:
  PictureRef picture_;
  bool stretch_;
};

class Label : public Control {
 public:
  Label(WindowModel& owner, std::string name);

  [[nodiscard]] const std::u16string& Caption() const { return caption_; }
  [[nodiscard]] Color ForeColor() const { return foreColor_; }
  [[nodiscard]] Alignment TextAlignment() const { return alignment_; }
  [[nodiscard]] float FontSize() const { return fontSize_; }

  void setCaption(std::u16string caption);
  void setForeColor(Color color);
  void setAlignment(Alignment alignment);
  void setFontSize(float points);

 private:
  std::u16string caption_;
  Color foreColor_ = kBlack;
  Alignment alignment_ = Alignment::Left;
  float fontSize_ = 9;
};

class Shape : public Control {
 public:
  Shape(WindowModel& owner, std::string name);

  [[nodiscard]] Color BackColor() const { return backColor_; }
  void setBackColor(Color color);

 private:
  Color backColor_ = kRed;
};

}  // namespace pirune
