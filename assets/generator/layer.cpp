#include "assets/generator/layer.h"

namespace pelmo::assets::gen {

void Painter::Fill(const Shape& shape, Rgb colour) {
  const Vec lo = transform_.Apply({shape.bounds.x0, shape.bounds.y0});
  const Vec hi = transform_.Apply({shape.bounds.x1, shape.bounds.y1});
  const int x0 = std::max(0, static_cast<int>(std::floor(std::min(lo.x, hi.x))) - 2);
  const int y0 = std::max(0, static_cast<int>(std::floor(std::min(lo.y, hi.y))) - 2);
  const int x1 =
      std::min(layer_.width() - 1, static_cast<int>(std::ceil(std::max(lo.x, hi.x))) + 2);
  const int y1 =
      std::min(layer_.height() - 1, static_cast<int>(std::ceil(std::max(lo.y, hi.y))) + 2);
  const double scale = transform_.Scale();
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      const Vec p = transform_.Invert({x + 0.5, y + 0.5});
      const double d = shape.distance(p) * scale;
      const double cover = hard_edges_ ? (d <= 0 ? 1.0 : 0.0) : std::clamp(0.5 - d, 0.0, 1.0);
      if (cover <= 0) continue;
      Texel& t = layer_.at(x, y);
      const double keep = 1 - cover;
      t = {colour.r * cover + t.r * keep, colour.g * cover + t.g * keep,
           colour.b * cover + t.b * keep, cover + t.a * keep};
    }
  }
}

void Painter::Outlined(const Shape& shape, Rgb fill, Rgb line, double thickness) {
  Fill(shape, line);
  Fill(Offset(shape, -thickness), fill);
}

}  // namespace pelmo::assets::gen
