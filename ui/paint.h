#pragma once

#include <algorithm>
#include <cstdint>

#include "engine/scene.h"
#include "ui/picture.h"

namespace pelmo::ui {

// A rectangle with exclusive right and bottom, in 64 bits so that sums of
// signed 32-bit coordinates and sizes can neither overflow nor wrap.
struct Rect64 {
  std::int64_t left = 0;
  std::int64_t top = 0;
  std::int64_t right = 0;
  std::int64_t bottom = 0;

  static Rect64 Sized(std::int64_t left, std::int64_t top, std::int64_t width,
                      std::int64_t height) {
    return {left, top, left + width, top + height};
  }
  std::int64_t Width() const { return std::max<std::int64_t>(0, right - left); }
  std::int64_t Height() const { return std::max<std::int64_t>(0, bottom - top); }
  bool Empty() const { return Width() == 0 || Height() == 0; }
  bool operator==(const Rect64&) const = default;
};

Rect64 Intersect(const Rect64& a, const Rect64& b);
// The smallest rectangle holding both; an empty one adds nothing.
Rect64 Bound(const Rect64& a, const Rect64& b);

// No window part larger than this is ever composed: far above any screen, and it
// keeps absurd sizes from exhausting memory.
inline constexpr std::int64_t kMaxComposedPixels = std::int64_t{1} << 26;

// A piece of a window's pixels: `area` in window coordinates, `pixels` its content.
struct Canvas {
  Rect64 area;
  Picture pixels;
};

// Makes `canvas` cover `area`, all pure blue, reusing its memory.
void ResetCanvas(Canvas& canvas, const Rect64& area);

// Draws `picture` as an image control with the rectangle `control` (window
// coordinates) inside a window of `windowSize`: at its own size from the
// control's top-left corner, or scaled to the control by nearest pixel when
// `stretch`; with `transparent`, the picture's bottom-left colour is skipped.
// Everything is clipped to the control, the window and the canvas.
void DrawImage(Canvas& canvas, const Rect64& windowRect, const Rect64& control,
               const engine::ImageControl& settings, const Picture& picture);

}  // namespace pelmo::ui
