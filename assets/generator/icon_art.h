#pragma once

#include "assets/generator/formats.h"
#include "assets/generator/shape.h"

namespace pelmo::assets::gen {

// The mascot's face from the front, drawn on a 32-unit square: the body and, with the three
// hairs on top of it, the whole outline.
Shape IconBody();
Shape IconSilhouette(double hair_width = 1.2);

// The desktop's icon at `size` pixels square, drawn at that size: the outline, the hairs and
// the eyes keep a weight that reads at the size instead of thinning out as the scale drops.
RgbaImage DrawDesktopIcon(int size);

}  // namespace pelmo::assets::gen
