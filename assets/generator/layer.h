#pragma once

#include <vector>

#include "assets/generator/colour.h"
#include "assets/generator/shape.h"

namespace pelmo::assets::gen {

// Paint with partial coverage: colour premultiplied by alpha, so layers stack like paper cut-outs
// and their soft edges fade into whatever lies below.
struct Texel {
  double r = 0, g = 0, b = 0, a = 0;
};

class Layer {
 public:
  Layer(int width, int height) : width_(width), height_(height), texels_(width * height) {}

  int width() const { return width_; }
  int height() const { return height_; }
  const Texel& at(int x, int y) const { return texels_[y * width_ + x]; }
  Texel& at(int x, int y) { return texels_[y * width_ + x]; }

 private:
  int width_;
  int height_;
  std::vector<Texel> texels_;
};

// Paints shapes given in drawing coordinates onto a layer, with each pixel's coverage taken from
// its centre's distance to the shape's edge: a one-pixel ramp that anti-aliases every outline.
// Hard edges instead cover a pixel wholly or not at all, for the few-colour cursor and icon.
class Painter {
 public:
  Painter(Layer& layer, const Transform& transform, bool hard_edges = false)
      : layer_(layer), transform_(transform), hard_edges_(hard_edges) {}

  void Fill(const Shape& shape, Rgb colour);
  // The shape in `line` colour with its inside, `thickness` in from the edge, in `fill` colour.
  void Outlined(const Shape& shape, Rgb fill, Rgb line, double thickness);

 private:
  Layer& layer_;
  Transform transform_;
  bool hard_edges_;
};

}  // namespace pelmo::assets::gen
