#pragma once

#include <cstdint>
#include <vector>

#include "ui/compositor.h"
#include "ui/picture.h"

namespace pelmo::ui {

// The pixels of a picture that are not key blue, as rectangles in picture
// coordinates, in the order X servers keep regions in ("y-x banded"): bands of
// rows from top to bottom, each band a row of rectangles of one height from left
// to right. Consecutive rows whose runs are all alike share one band, so a
// shape costs the server one band per distinct row, however tall the picture.
std::vector<ScreenRect> KeyShape(const Picture& picture);

// A picture pixel as a compositor blends it, 0xAARRGGBB: key blue fully
// transparent, every other colour fully opaque. Nothing is ever half-seen, so
// the mascot looks the same with and without a compositor.
constexpr std::uint32_t KeyedArgb(std::uint32_t rgb) {
  return (rgb & 0x00FFFFFFu) == kKeyBlue ? 0u : 0xFF000000u | (rgb & 0x00FFFFFFu);
}

}  // namespace pelmo::ui
