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
    const Vec slant{-3, 11};
    auto drop = [&](Vec top, double length) {
      const int shade = static_cast<int>(s.Next(0, 3));
      const Rgb colour{static_cast<std::uint8_t>(204 - 14 * shade), 255, 255};
      p.Fill(Stroke({top, top + slant * length}, 1.9), colour);
    };
    drop({6, 6}, 1.0);
    drop({113, 40}, 1.0);
    drop({60, 5}, 0.9);
    drop({58, 524}, 1.0);
    for (int row = 0; row < 36; ++row) {
      for (int column = 0; column < 4; ++column) {
        const double x = 10 + column * 27 + (row % 2) * 13 + s.Next(0, 10);
        const double y = 20 + row * 14 + s.Next(-2, 2);
        drop({x, y}, s.Next(0.6, 1.0));
      }
    }
  };
}

// A puffy cloud: overlapping rounds with a flat-ish underside.
Art Cloud() {
  return [](Painter& p) {
    const Shape cloud = SmoothUnion(
        {Circle({50, 80}, 17), Circle({70, 56}, 22), Circle({98, 42}, 28), Circle({128, 58}, 21),
         Circle({140, 82}, 15), Stroke({{52, 84}, {138, 84}}, 40), Circle({95, 66}, 24)},
        2.5);
    p.Outlined(cloud, kCloudGrey, kBrown, 3.2);
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
