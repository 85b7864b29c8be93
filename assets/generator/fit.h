#pragma once

#include <functional>

#include "assets/generator/layer.h"
#include "assets/generator/picture.h"

namespace pelmo::assets::gen {

// A drawing: paints its parts in the drawing's own coordinates.
using Art = std::function<void(Painter&)>;

Layer Render(int width, int height, const Transform& transform, const Art& art,
             bool hard_edges = false);

// Scales and moves the drawing so that its pixels fill exactly the `target` box on a canvas of
// the given size. The drawing's coordinates are already close to the canvas's, so this only
// corrects the last pixel or two; it throws when no transform reaches the box.
Transform FitToBox(int width, int height, PixelBox target, const Art& art,
                   double least_cover = kLeastCover, bool hard_edges = false);

// Draws the art fitted to the target box.
Picture DrawInBox(int width, int height, PixelBox target, const Art& art);

}  // namespace pelmo::assets::gen
