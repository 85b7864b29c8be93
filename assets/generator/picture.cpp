#include "assets/generator/picture.h"

#include <cmath>

namespace pelmo::assets::gen {
namespace {

std::uint8_t Channel(double premultiplied, double background, double alpha) {
  return static_cast<std::uint8_t>(
      std::lround(std::clamp(premultiplied + background * (1 - alpha), 0.0, 255.0)));
}

}  // namespace

PixelBox Picture::FigureBox() const {
  PixelBox box{width_, height_, -1, -1};
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      if (at(x, y) == kKeyBlue) continue;
      box.x0 = std::min(box.x0, x);
      box.y0 = std::min(box.y0, y);
      box.x1 = std::max(box.x1, x);
      box.y1 = std::max(box.y1, y);
    }
  }
  return box;
}

std::map<Rgb, int> Picture::ColourCounts() const {
  std::map<Rgb, int> counts;
  for (Rgb c : pixels_) ++counts[c];
  return counts;
}

Picture OnBlue(const Layer& layer, double least_cover) {
  Picture out(layer.width(), layer.height());
  for (int y = 0; y < layer.height(); ++y) {
    for (int x = 0; x < layer.width(); ++x) {
      const Texel& t = layer.at(x, y);
      if (t.a < least_cover) continue;
      Rgb c{Channel(t.r, kKeyBlue.r, t.a), Channel(t.g, kKeyBlue.g, t.a),
            Channel(t.b, kKeyBlue.b, t.a)};
      if (c == kKeyBlue) c = {1, 1, 255};
      out.at(x, y) = c;
    }
  }
  return out;
}

Picture Mirrored(const Picture& p) {
  Picture out(p.width(), p.height());
  for (int y = 0; y < p.height(); ++y) {
    for (int x = 0; x < p.width(); ++x) out.at(p.width() - 1 - x, y) = p.at(x, y);
  }
  return out;
}

void Paste(Picture& base, const Picture& top, int dx, int dy) {
  for (int y = 0; y < top.height(); ++y) {
    for (int x = 0; x < top.width(); ++x) {
      const int tx = x + dx, ty = y + dy;
      if (top.at(x, y) == kKeyBlue || tx < 0 || ty < 0 || tx >= base.width() || ty >= base.height())
        continue;
      base.at(tx, ty) = top.at(x, y);
    }
  }
}

}  // namespace pelmo::assets::gen
