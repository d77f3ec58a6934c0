#pragma once
// What a shell draws to show the window: black, then every visible control back to front,
// as a list of three kinds of drawing in the shell's pixels. A frame paints only a region (the
// shell clips to it), and a control wholly outside it is left out of the plan.

#include <functional>
#include <string>
#include <variant>
#include <vector>

#include "host/pixels.h"
#include "host/text_layout.h"
#include "screen/color.h"
#include "screen/picture.h"
#include "screen/window_model.h"

namespace pirune {

struct FillRect {
  PixelRect rect;
  Color color;
  friend bool operator==(const FillRect&, const FillRect&) = default;
};

// A picture scaled onto `target`.
struct DrawPicture {
  const Bitmap* picture = nullptr;
  PixelRect target;
  friend bool operator==(const DrawPicture&, const DrawPicture&) = default;
};

// One line of a label's text, the top of its line box at (left, top), clipped to `clip`.
struct DrawText {
  std::u16string text;
  double left = 0;
  double top = 0;
  double fontPixels = 0;
  Color color;
  PixelRect clip;
  friend bool operator==(const DrawText&, const DrawText&) = default;
};

using PaintStep = std::variant<FillRect, DrawPicture, DrawText>;

// What only a shell knows of its font: how wide a run of text is, and how far apart lines are.
struct FontMetrics {
  MeasureText width;
  std::function<double(double fontPixels)> lineHeight;
};

class PaintPlanner {
 public:
  explicit PaintPlanner(FontMetrics metrics) : metrics_(std::move(metrics)) {}

  [[nodiscard]] std::vector<PaintStep> plan(const WindowModel& window, const ClientGeometry& client,
                                            const Region& region);
  // The pixels that the label's text may touch.
  [[nodiscard]] PixelRect ink(const Label& label, const ClientGeometry& client) {
    return layOut(label, client).ink;
  }

 private:
  // A label's text laid out. Laying text out is the dearest part of a frame and the text rarely
  // changes, so the layout is kept until the text, its box or its font change.
  struct Layout {
    std::u16string caption;
    PixelRect box;
    Alignment alignment = Alignment::Left;
    Color color;
    double fontPixels = 0;
    std::vector<DrawText> lines;
    PixelRect ink;  // the pixels its glyphs may touch
  };
  const Layout& layOut(const Label& label, const ClientGeometry& client);

  FontMetrics metrics_;
  std::vector<Layout> layouts_;
};

}  // namespace pirune
