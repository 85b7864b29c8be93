#include <cstdint>

#include "assets/generator/colour.h"
#include "assets/generator/makers.h"
#include "assets/generator/mascot.h"

namespace pelmo::assets::gen {
namespace {

constexpr Rgb kCloudGrey{204, 204, 204};
constexpr Rgb kSunOrange{255, 102, 0};

// A small fixed-seed generator, so the rain falls the same way on every build.
class Scatter {
 public:
  double Next(double lo, double hi) {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return lo + (hi - lo) * static_cast<double>(state_ >> 11) / 9007199254740992.0;
  }

 private:
  std::uint64_t state_ = 20240611;
};

// Short slanting streaks of pale cyan in several near shades, scattered down a tall band. The
// first four drops pin the band's edges so the scatter always spans it.
Art Rain() {
  return [](Painter& p) {
    Scatter s;
    const Vec slant{-3.5, 12};
    auto drop = [&](Vec top, double length) {
      const int shade = static_cast<int>(s.Next(0, 3));
      const Rgb colour{static_cast<std::uint8_t>(204 - 14 * shade), 255, 255};
      p.Fill(Stroke({top, top + slant * length}, 2.2), colour);
    };
    drop({6, 6}, 1.0);
    drop({113, 40}, 1.0);
    drop({60, 5}, 0.9);
    drop({58, 524}, 1.0);
    for (int row = 0; row < 44; ++row) {
      for (int column = 0; column < 4; ++column) {
        const double x = 8 + column * 28 + s.Next(0, 22);
        const double y = 18 + row * 11.5 + s.Next(-4, 4);
        drop({x, y}, s.Next(0.6, 1.0));
      }
    }
  };
}

// A puffy cloud: overlapping rounds with a flat-ish underside.
Art Cloud() {
  return [](Painter& p) {
    const Shape cloud =
        Union({Circle({58, 72}, 24), Circle({84, 48}, 30), Circle({118, 56}, 26),
               Circle({134, 80}, 18), Circle({44, 88}, 16), Ellipse({92, 88}, 52, 18)});
    p.Outlined(cloud, kCloudGrey, kBrown, 3.2);
    PaintLine(p, Curve({70, 60}, {76, 52}, {86, 54}), 2.0);
    PaintLine(p, Curve({108, 70}, {116, 64}, {124, 68}), 2.0);
  };
}

// The sun: an orange spiral ringed by eight short rays.
Art Sun(Vec centre, double width, double ray_turn) {
  return [=](Painter& p) {
    std::vector<Vec> spiral;
    for (int i = 0; i <= 160; ++i) {
      const double t = i / 160.0;
      spiral.push_back(centre + Polar(200 + t * 3 * 360, 4 + 44 * t));
    }
    p.Fill(Stroke(spiral, width), kSunOrange);
    for (int i = 0; i < 8; ++i) {
      const double a = ray_turn + i * 45;
      p.Fill(Stroke({centre + Polar(a, 60), centre + Polar(a, 76)}, width), kSunOrange);
    }
  };
}

}  // namespace

void MakeWeather(AssetSet& set) {
  set.AddPicture("BMP_RAIN", DrawInBox(123, 555, {0, 5, 116, 536}, Rain()), {0, 5, 116, 536});
  set.AddPicture("BMP_CLOUD1", DrawInBox(184, 107, {31, 13, 147, 106}, Cloud()),
                 {31, 13, 147, 106});
  set.AddPicture("BMP_SUN1", DrawInBox(300, 200, {67, 22, 228, 174}, Sun({148, 98}, 5, 0)),
                 {67, 22, 228, 174});
  set.AddPicture("BMP_SUN2", DrawInBox(300, 200, {74, 24, 234, 177}, Sun({154, 100}, 7.5, 22.5)),
                 {74, 24, 234, 177});
}

}  // namespace pelmo::assets::gen
