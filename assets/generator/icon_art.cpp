#include "assets/generator/icon_art.h"

#include <algorithm>

#include "assets/generator/fit.h"
#include "assets/generator/mascot.h"

namespace pelmo::assets::gen {
namespace {

constexpr double kUnits = 32;  // the drawing's square
constexpr Rgb kInk{0, 0, 0};

}  // namespace

Shape IconBody() {
  return Stretched(Body({16, 19.5}, 12, {16, 11}, 8), {16, 19.5}, 1.28, 1.0);
}

Shape IconSilhouette(double hair_width) {
  return Union({IconBody(), Stroke(Curve({15, 6}, {13, 3}, {10, 1}), hair_width),
                Stroke({{16, 6}, {16, 0.5}}, hair_width),
                Stroke(Curve({17, 6}, {19, 3}, {22, 1}), hair_width)});
}

RgbaImage DrawDesktopIcon(int size) {
  const double scale = size / kUnits;  // pixels per drawing unit
  // Weights in pixels, growing more slowly than the picture: a one-pixel line at 16 pixels,
  // a brush of about six at 256.
  const double outline = (1.0 + size / 48.0) / scale;
  const double hair = std::max(1.2, 1.1 / scale);
  const double eye = std::max(1.0, 0.9 / scale);
  const Art art = [&](Painter& p) {
    p.Fill(IconSilhouette(hair), kInk);
    p.Fill(Offset(IconBody(), -outline), kWhite);
    p.Fill(Ellipse({11, 20.5}, 1.2 * eye, 1.7 * eye), kInk);
    p.Fill(Ellipse({21, 20.5}, 1.2 * eye, 1.7 * eye), kInk);
  };
  const Layer layer = Render(size, size, {scale, scale, 0, 0}, art);

  RgbaImage image{size, std::vector<std::uint8_t>(size * size * 4)};
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const Texel& t = layer.at(x, y);
      std::uint8_t* out = &image.rgba[(y * size + x) * 4];
      if (t.a <= 0) continue;  // fully clear stays zero
      // The layer holds colour times coverage; the file wants the colour itself.
      auto channel = [&](double c) {
        return static_cast<std::uint8_t>(std::clamp(c / t.a + 0.5, 0.0, 255.0));
      };
      out[0] = channel(t.r);
      out[1] = channel(t.g);
      out[2] = channel(t.b);
      out[3] = static_cast<std::uint8_t>(std::clamp(t.a * 255 + 0.5, 0.0, 255.0));
    }
  }
  return image;
}

}  // namespace pelmo::assets::gen
