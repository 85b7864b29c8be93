#include <cmath>

#include "assets/generator/colour.h"
#include "assets/generator/makers.h"
#include "assets/generator/mascot.h"

namespace pelmo::assets::gen {
namespace {

constexpr Rgb kHaloYellow{255, 230, 0};

// A small feathered wing: three rounded lobes, mirrored for the right-hand side.
Shape Wing(double side) {
  auto at = [side](double x, double y) { return Vec{50 + side * x, y}; };
  return Union({Ellipse(at(36, 56), 12, 8, side * -20), Ellipse(at(38, 66), 10, 6.5, side * -5),
                Ellipse(at(35, 74), 8, 5, side * 10)});
}

// Rising as an angel: halo, wings, the tuft hanging below with a string trailing like a
// balloon's.
Art AngelArt() {
  return [](Painter& p) {
    std::vector<Vec> string;
    for (int i = 0; i <= 40; ++i) {
      const double y = 100 + i * 1.2;
      string.push_back({50 + 5 * std::sin(i * 0.45), y});
    }
    PaintLine(p, string, 1.6);
    PaintTuft(p, {50, 92}, {{{{46, 98}, {42, 104}}, {{50, 98}, {50, 106}}, {{54, 98}, {58, 103}}}});
    p.Outlined(Wing(-1), kPaleCyan, kBrown, 2.0);
    p.Outlined(Wing(1), kPaleCyan, kBrown, 2.0);
    PaintBody(p, Body({50, 58}, 24, {50, 84}, 11));
    PaintEye(p, {41, 48});
    PaintEye(p, {59, 48});
    PaintLine(p, {{47, 58}, {53, 58}});
    const Shape halo = Subtract(Ellipse({50, 20}, 19, 6.5), Ellipse({50, 20}, 12, 3));
    p.Outlined(halo, kHaloYellow, kBrown, 1.6);
  };
}

}  // namespace

void MakeAngel(AssetSet& set) {
  set.AddPicture("BMP_ANGEL", DrawInBox(100, 150, {2, 13, 97, 147}, AngelArt()), {2, 13, 97, 147});
}

}  // namespace pelmo::assets::gen
