#pragma once
// Paints the game window on the page's canvas as the model says, like the desktop's renderer:
// black, then every visible control back to front, each clipped to the client area.

#include "page.h"
#include "screen/controls.h"
#include "screen/window_model.h"

namespace pirune::web {

struct CanvasSize {
  double width = 0;   // device pixels
  double height = 0;  // device pixels
  // Device pixels per CSS pixel: a picture drawn at its natural size, as the desktop draws
  // one, covers its width in CSS pixels.
  double pixelRatio = 1;
  // Device pixels per point of the label's font.
  double pointPixels = 1;
};

void paintWindow(const WindowModel& window, const CanvasSize& canvas);

// A rectangle in units on a client area of `canvas`, with its edges on whole device pixels so
// that pictures and shapes are drawn crisp.
[[nodiscard]] page::PixelRect toPixels(const Rect& units, const CanvasSize& canvas);

}  // namespace pirune::web
