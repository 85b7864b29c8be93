#include <cmath>

#include "assets/generator/colour.h"
#include "assets/generator/makers.h"
#include "assets/generator/mascot.h"

namespace pelmo::assets::gen {
namespace {

constexpr int kW = 150;
constexpr int kH = 100;

Art Both(Art a, Art b) {
  return [a, b](Painter& p) {
    a(p);
    b(p);
  };
}

// The body and a part that moves between frames, painted apart so neither frame blends them.
Picture WithPart(const Picture& body, const Picture& part, int dx, int dy) {
  Picture out = body;
  Paste(out, part, dx, dy);
  return out;
}

// --- Sleep: the lying body with closed eyes, and a bubble holding a Z that drifts. ---

Art SleepingBody() {
  return [](Painter& p) {
    PaintTuft(p, {116, 70},
              {{{{126, 66}, {137, 58}}, {{124, 60}, {130, 48}}, {{118, 60}, {119, 49}}}});
    PaintBody(p, Body({58, 70}, 25, {98, 72}, 18));
    PaintLine(p, {{43, 61}, {50, 61}});
    PaintLine(p, {{43, 79}, {50, 79}});
    PaintLine(p, {{39, 67}, {39, 73}});
  };
}

Art SleepBubble() {
  return [](Painter& p) {
    const Shape bubble =
        Union({Ellipse({78, 21}, 24, 17), Polygon({{62, 30}, {70, 35}, {57, 41}})});
    p.Outlined(bubble, kWhite, kBrown, 2.4);
    PaintLine(p, {{70, 13}, {86, 13}, {70, 29}, {86, 29}}, 3.0);
  };
}

// --- Eat: sitting up to eat, then squashed while chewing. ---

Art Eating(double squash_x, double squash_y, const Tuft& tuft) {
  return [=](Painter& p) {
    const Vec pivot{62, 88};
    auto squash = [&](Vec v) {
      return Vec{pivot.x + (v.x - pivot.x) * squash_x, pivot.y + (v.y - pivot.y) * squash_y};
    };
    PaintTuft(p, squash({104, 48}), tuft);
    const Shape body = Rotated(Body({62, 58}, 30, {96, 52}, 15), {62, 58}, -12);
    PaintBody(p, Stretched(body, pivot, squash_x, squash_y));
    PaintEye(p, squash({48, 46}));
    PaintEye(p, squash({48, 66}));
  };
}

// --- Guru: dizzy, spiral eyes. ---

std::vector<Vec> Spiral(Vec centre, double radius, double turns, double start_degrees) {
  std::vector<Vec> points;
  const int steps = static_cast<int>(turns * 36);
  for (int i = 0; i <= steps; ++i) {
    const double t = static_cast<double>(i) / steps;
    points.push_back(centre + Polar(start_degrees + t * turns * 360.0, radius * t));
  }
  return points;
}

Art Dizzy() {
  return [](Painter& p) {
    PaintTuft(p, {106, 64},
              {{{{124, 60}, {141, 51}}, {{116, 52}, {128, 40}}, {{110, 52}, {117, 36}}}});
    const Vec pivot{46, 69};
    auto turn = [&](Vec v) { return pivot + Rotate(v - pivot, -8); };
    PaintBody(p, Rotated(Body(pivot, 25, {92, 67}, 15), pivot, -8));
    PaintLine(p, Spiral(turn({38, 58}), 6.5, 2.2, 0), 1.8);
    PaintLine(p, Spiral(turn({38, 80}), 6.5, 2.2, 180), 1.8);
    PaintLine(p, {turn({28, 66}), turn({28, 72})});
  };
}

// GURU2 is GURU1 slanted: raised two rows and pushed right, nothing at the bottom and twelve
// pixels at the top.
Picture Slanted(const Picture& guru1) {
  const PixelBox box = guru1.FigureBox();
  const double height = box.y1 - box.y0;
  return RowsShifted(guru1, 168, -2, [&](int y) {
    return static_cast<int>(std::lround(12.0 * (box.y1 - y) / height));
  });
}

// --- Drunk: front view, sleepy eyes, swirling blushes, bubbles rising. ---

Art DrunkBody() {
  return [](Painter& p) {
    PaintTuft(p, {64, 34}, {{{{58, 24}, {52, 19}}, {{64, 24}, {67, 16}}, {{70, 26}, {78, 21}}}});
    PaintBody(p, Stretched(Body({64, 68}, 25, {64, 44}, 13), {64, 68}, 1.45, 1.0));
    const Rgb blush{255, 80, 40};
    p.Fill(Stroke(Spiral({40, 74}, 6, 1.6, 0), 1.8), blush);
    p.Fill(Stroke(Spiral({88, 74}, 6, 1.6, 180), 1.8), blush);
    // Drowsy: heavy lids drawn straight across, the lower half of each eye showing.
    for (double x : {52.0, 76.0}) {
      p.Fill(Intersect(Circle({x, 62}, 3.6),
                       Polygon({{x - 5, 62}, {x + 5, 62}, {x + 5, 67}, {x - 5, 67}})),
             kBrown);
      PaintLine(p, {{x - 5, 61.5}, {x + 5, 61.5}}, 2.0);
    }
    PaintLine(p, Curve({60, 80}, {64, 83}, {68, 80}));
  };
}

Art DrunkBubbles() {
  return [](Painter& p) {
    p.Outlined(Circle({109, 44}, 5), kWhite, kBrown, 1.5);
    p.Outlined(Circle({119, 31}, 4.2), kWhite, kBrown, 1.5);
    p.Outlined(Circle({126, 19}, 3.6), kWhite, kBrown, 1.5);
  };
}

}  // namespace

void MakeMoodFrames(AssetSet& set) {
  {
    const Art body = SleepingBody(), bubble = SleepBubble();
    const Transform t = FitToBox(kW, kH, {27, 3, 137, 94}, Both(body, bubble));
    const Picture b = OnBlue(Render(kW, kH, t, body)), z = OnBlue(Render(kW, kH, t, bubble));
    const Picture sleep1 = WithPart(b, z, 0, 0), sleep2 = WithPart(b, z, 5, 1);
    RequireSameColours("BMP_SLEEP", sleep1, sleep2);
    set.AddPicture("BMP_SLEEP1", sleep1, {27, 3, 137, 94});
    set.AddPicture("BMP_SLEEP2", sleep2, {27, 4, 137, 94});
  }
  {
    const Tuft perky{{{{116, 44}, {132, 38}}, {{114, 38}, {126, 26}}, {{108, 38}, {112, 24}}}};
    const Tuft droopy{{{{118, 50}, {130, 58}}, {{118, 44}, {131, 46}}, {{112, 42}, {126, 36}}}};
    set.AddPicture("BMP_EAT1", DrawInBox(kW, kH, {31, 23, 132, 89}, Eating(1, 1, perky)),
                   {31, 23, 132, 89});
    set.AddPicture("BMP_EAT2", DrawInBox(kW, kH, {25, 20, 131, 79}, Eating(1.12, 0.8, droopy)),
                   {25, 20, 131, 79});
  }
  {
    const Picture guru1 = DrawInBox(kW, kH, {19, 25, 141, 92}, Dizzy());
    const Picture guru2 = Slanted(guru1);
    RequireSameColours("BMP_GURU", guru1, guru2);
    set.AddPicture("BMP_GURU1", guru1, {19, 25, 141, 92});
    set.AddPicture("BMP_GURU2", guru2, {23, 23, 150, 90});
  }
  {
    const Art body = DrunkBody(), bubbles = DrunkBubbles();
    const Transform t = FitToBox(kW, kH, {25, 15, 130, 92}, Both(body, bubbles));
    const Picture b = OnBlue(Render(kW, kH, t, body));
    const Picture bubble_picture = OnBlue(Render(kW, kH, t, bubbles));
    const Picture drunk1 = WithPart(b, bubble_picture, 0, 0);
    // The sway: the bottom slides three pixels left while the top leans the other way.
    const PixelBox box = b.FigureBox();
    const Picture swayed = RowsShifted(b, kW, 0, [&](int y) {
      const double lean = std::clamp((box.y1 - 22.0 - y) / (box.y1 - 22.0 - box.y0), 0.0, 1.0);
      return -3 + static_cast<int>(std::lround(5 * lean));
    });
    const PixelBox bubble_box = bubble_picture.FigureBox();
    const Picture drunk2 =
        WithPart(swayed, bubble_picture, 123 - bubble_box.x1, 14 - bubble_box.y0);
    RequireSameColours("BMP_DRUNK", drunk1, drunk2);
    set.AddPicture("BMP_DRUNK1", drunk1, {25, 15, 130, 92});
    set.AddPicture("BMP_DRUNK2", drunk2, {22, 14, 123, 92});
  }
}

}  // namespace pelmo::assets::gen
