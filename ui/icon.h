#pragma once

#include <cstdint>
#include <span>

#include "ui/picture.h"

namespace pelmo::ui {

// Decodes the image of an icon or cursor file (ICO or CUR) that is nearest to
// `size` pixels wide, as 0xAARRGGBB pixels with the transparency Windows would
// give it: from the 1-bit mask for 24-bit images, from the alpha channel for
// 32-bit ones. Desktops other than Windows need the transparency as alpha.
// Throws PictureError for anything else, never reading outside `bytes`.
Picture DecodeIcon(std::span<const std::uint8_t> bytes, std::int32_t size);

}  // namespace pelmo::ui
