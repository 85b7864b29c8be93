#pragma once

#include <map>
#include <vector>

#include "assets/generator/colour.h"
#include "assets/generator/layer.h"

namespace pelmo::assets::gen {

// Inclusive pixel rectangle: the columns and rows a figure occupies.
struct PixelBox {
  int x0 = 0, y0 = 0, x1 = -1, y1 = -1;
  friend bool operator==(const PixelBox&, const PixelBox&) = default;
};

// A finished 24-bit picture: the figure on pure blue.
class Picture {
 public:
  Picture(int width, int height)
      : width_(width), height_(height), pixels_(width * height, kKeyBlue) {}

  int width() const { return width_; }
  int height() const { return height_; }
  Rgb at(int x, int y) const { return pixels_[y * width_ + x]; }
  Rgb& at(int x, int y) { return pixels_[y * width_ + x]; }

  // The smallest rectangle holding every pixel that is not the key blue.
  PixelBox FigureBox() const;
  std::map<Rgb, int> ColourCounts() const;

 private:
  int width_;
  int height_;
  std::vector<Rgb> pixels_;
};

// Coverage below this leaves a pixel as background, so a shape's faint outermost fringe does not
// decide where the figure's box ends.
inline constexpr double kLeastCover = 1.0 / 128;

// Flattens a layer onto the key blue. Every covered pixel keeps a colour that differs from the key,
// even when it is only a hair's breadth away, because the key alone is see-through.
Picture OnBlue(const Layer& layer, double least_cover = kLeastCover);

// The picture with its columns in reverse order.
Picture Mirrored(const Picture& p);

// Copies the figure pixels of `top`, moved by (dx, dy), over `base`.
void Paste(Picture& base, const Picture& top, int dx, int dy);

// Moves the figure's row y to row y + dy and right by shift(y) pixels on a canvas `width` wide.
template <typename Shift>
Picture RowsShifted(const Picture& p, int width, int dy, Shift shift) {
  Picture out(width, p.height());
  for (int y = 0; y < p.height(); ++y) {
    const int ty = y + dy;
    if (ty < 0 || ty >= p.height()) continue;
    const int s = shift(y);
    for (int x = 0; x < p.width(); ++x) {
      const int tx = x + s;
      if (tx >= 0 && tx < width) out.at(tx, ty) = p.at(x, y);
    }
  }
  return out;
}

}  // namespace pelmo::assets::gen
