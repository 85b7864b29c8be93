#include <cmath>

#include "assets/generator/colour.h"
#include "assets/generator/makers.h"
#include "assets/generator/mascot.h"

namespace pelmo::assets::gen {
namespace {

constexpr Rgb kCandyPink{255, 140, 190};
constexpr Rgb kWrapperPink{255, 190, 220};
constexpr Rgb kFishcake{255, 250, 200};
constexpr Rgb kFishcakeRim{250, 232, 160};
constexpr Rgb kSwirlPink{255, 105, 160};
constexpr Rgb kStick{214, 170, 110};
constexpr Rgb kMatcha{150, 210, 110};
constexpr Rgb kSakura{255, 170, 200};
constexpr Rgb kBeer{255, 180, 30};
constexpr Rgb kBeerDeep{240, 140, 20};
constexpr Rgb kGlass{235, 245, 255};

// A wrapped sweet: a round pink middle and a crinkled wrapper fanned out at each end.
Art Candy() {
  return [](Painter& p) {
    for (double side : {-1.0, 1.0}) {
      auto at = [side](double x, double y) { return Vec{41 + side * x, y}; };
      const Shape fan = Polygon({at(14, 26), at(26, 11), at(24, 19), at(28, 23), at(26, 30),
                                 at(28, 36), at(24, 40), at(26, 47), at(14, 32)});
      p.Outlined(fan, kWrapperPink, kBrown, 2.2);
      PaintLine(p, {at(19, 24), at(23, 16)}, 1.4);
      PaintLine(p, {at(19, 34), at(23, 42)}, 1.4);
      p.Outlined(Ellipse(at(16, 29), 3.5, 5.5), kWrapperPink, kBrown, 2.0);
    }
    p.Outlined(Ellipse({41, 29}, 15, 13), kCandyPink, kBrown, 2.6);
    p.Fill(Ellipse({36, 24}, 4.5, 2.6, -30), kWhite);
  };
}

// A slice of fishcake: a ridged rim like a cog, a pink swirl inside, no outline.
Art Fishcake() {
  return [](Painter& p) {
    const Vec c{28.5, 28};
    auto cog = [c](double radius, double depth) {
      return Shape{[=](Vec q) {
                     const Vec d = q - c;
                     const double angle = std::atan2(d.y, d.x);
                     const double r = std::max(Length(d), 1e-9);
                     // Divided by the slope of the ridged edge, to stay a true distance.
                     const double slope = 12 * depth * std::sin(12 * angle) / r;
                     return (r - (radius + depth * std::cos(12 * angle))) /
                            std::sqrt(1 + slope * slope);
                   },
                   Box{c.x - radius - depth, c.y - radius - depth, c.x + radius + depth,
                       c.y + radius + depth}};
    };
    p.Fill(cog(19, 1.8), kFishcakeRim);
    p.Fill(cog(16.5, 1.2), kFishcake);
    std::vector<Vec> swirl;
    for (int i = 0; i <= 90; ++i) {
      const double t = i / 90.0;
      swirl.push_back(c + Polar(-90 + t * 2.5 * 360, 1.0 + 11.5 * t));
    }
    p.Fill(Stroke(swirl, 2.8), kSwirlPink);
  };
}

// Three dumplings on a slanting skewer, green, white and pink from the top, each with a face.
Art Dango() {
  return [](Painter& p) {
    const Vec from{22, 17}, to{78, 112};
    p.Outlined(Stroke({from, to}, 5), kStick, kBrown, 1.5);
    const Rgb colours[] = {kMatcha, kWhite, kSakura};
    for (int i = 0; i < 3; ++i) {
      const Vec c = Lerp(from, to, 0.25 + 0.25 * i);
      p.Outlined(Circle(c, 16.5), colours[i], kBrown, 2.4);
      PaintDot(p, c + Vec{-5, -2}, 1.9);
      PaintDot(p, c + Vec{5, -2}, 1.9);
      PaintLine(p, Curve(c + Vec{-3, 4}, c + Vec{0, 7}, c + Vec{3, 4}), 1.6);
    }
  };
}

// A mug of beer with its head of foam running over and bubbles rising.
Art Beer() {
  return [](Painter& p) {
    p.Outlined(Stroke(Curve({60, 34}, {90, 32}, {88, 52}, {60, 68}), 10), kGlass, kBrown, 2.4);
    const Shape mug = Polygon({{12, 22}, {64, 22}, {62, 82}, {14, 82}});
    p.Outlined(Offset(Offset(mug, -3), 3), kBeer, kBrown, 2.6);
    p.Fill(Polygon({{44, 30}, {52, 30}, {51, 76}, {46, 76}}), kBeerDeep);
    for (Vec b : {Vec{24, 62}, Vec{30, 48}, Vec{22, 40}, Vec{36, 70}, Vec{28, 32}}) {
      p.Fill(Circle(b, 2.0), kWhite);
    }
    const Shape foam = SmoothUnion(
        {Circle({14, 20}, 9), Circle({27, 14}, 10), Circle({42, 13}, 10), Circle({57, 16}, 10),
         Circle({65, 24}, 7), Stroke({{12, 24}, {14, 36}}, 8), Stroke({{60, 26}, {61, 40}}, 7)},
        4);
    p.Outlined(foam, kWhite, kBrown, 2.4);
  };
}

}  // namespace

void MakeFoods(AssetSet& set) {
  set.AddPicture("BMP_AME", DrawInBox(79, 59, {13, 9, 69, 48}, Candy()), {13, 9, 69, 48});
  set.AddPicture("BMP_NARUTO", DrawInBox(54, 55, {8, 9, 49, 47}, Fishcake()), {8, 9, 49, 47});
  set.AddPicture("BMP_DANGO", DrawInBox(110, 131, {17, 13, 82, 115}, Dango()), {17, 13, 82, 115});
  set.AddPicture("BMP_BEER", DrawInBox(94, 90, {6, 5, 86, 83}, Beer()), {6, 5, 86, 83});
}

}  // namespace pelmo::assets::gen
