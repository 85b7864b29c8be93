#include "assets/generator/colour.h"
#include "assets/generator/makers.h"
#include "assets/generator/mascot.h"

namespace pelmo::assets::gen {
namespace {

constexpr int kW = 150;
constexpr int kH = 100;

// One small mascot seen from the front, wide end down; `squash` below 1 flattens it.
struct Mini {
  Vec centre;
  double radius;
  double squash = 1;
  bool tuft = false;
};

void PaintMini(Painter& p, const Mini& m) {
  const double r = m.radius;
  const Vec c = m.centre;
  const Vec top{c.x, c.y - r * 0.9 * m.squash};
  if (m.tuft) {
    PaintTuft(p, top + Vec{0, r * 0.25},
              {{{top + Vec{-r * 0.2, -r * 0.35}, top + Vec{-r * 0.45, -r * 0.6}},
                {top + Vec{0, -r * 0.4}, top + Vec{r * 0.05, -r * 0.75}},
                {top + Vec{r * 0.2, -r * 0.35}, top + Vec{r * 0.5, -r * 0.55}}}},
              2.0);
  }
  const Shape body = Stretched(Body(c, r, {c.x, c.y - r * 0.6}, r * 0.55), c, 1.1, m.squash);
  p.Outlined(body, kCream, kBrown, 3.0);
  const double eye_y = c.y + r * 0.15 * m.squash;
  PaintEye(p, {c.x - r * 0.35, eye_y}, r * 0.11 + 0.9);
  PaintEye(p, {c.x + r * 0.35, eye_y}, r * 0.11 + 0.9);
  PaintLine(p,
            {{c.x - r * 0.12, eye_y + r * 0.35 * m.squash},
             {c.x + r * 0.12, eye_y + r * 0.35 * m.squash}},
            2.0);
}

// Painted back to front: the lower pair first, the top one over them.
Art Trio(Mini top, Mini left, Mini right) {
  return [=](Painter& p) {
    PaintMini(p, left);
    PaintMini(p, right);
    PaintMini(p, top);
  };
}

// Back to one, but still askew: eyes on a slant, the mouth tipped.
Art Askew() {
  return [](Painter& p) {
    const Vec pivot{52, 58};
    auto turn = [&](Vec v) { return pivot + Rotate(v - pivot, -13); };
    PaintTuft(p, turn({114, 61}),
              {{{turn({124, 52}), turn({140, 48})},
                {turn({122, 44}), turn({132, 28})},
                {turn({116, 46}), turn({120, 26})}}});
    PaintBody(p, Rotated(Body({52, 58}, 31, {97, 63}, 16), pivot, -13));
    PaintEye(p, {33, 46});
    PaintEye(p, {47, 66});
    PaintLine(p, {{29, 62}, {35, 70}});
  };
}

// Crying, from the front: a squat dome, eyes low, a flat mouth and one tear.
Art Crying() {
  return [](Painter& p) {
    PaintTuft(p, {72, 34}, {{{{66, 24}, {60, 17}}, {{72, 24}, {73, 15}}, {{78, 24}, {86, 18}}}});
    PaintBody(p, Stretched(Body({72, 64}, 25, {72, 50}, 18), {72, 64}, 1.8, 1.0));
    PaintEye(p, {56, 68});
    PaintEye(p, {88, 68});
    PaintLine(p, {{66, 78}, {78, 78}});
    const Shape tear =
        Union({Circle({90, 82}, 3.8), Polygon({{86.5, 80.5}, {93.5, 80.5}, {90, 74}})});
    p.Outlined(tear, kPaleCyan, kBrown, 1.3);
  };
}

}  // namespace

void MakeSplitFrames(AssetSet& set) {
  const Art stage1 = Trio({{76, 34}, 21, 1, true}, {{48, 76}, 20}, {{104, 76}, 20});
  const Art stage2 = Trio({{76, 38}, 21, 0.95, true}, {{56, 76}, 20, 0.9}, {{96, 76}, 20, 0.9});
  const Art stage3 = Trio({{70, 42}, 29, 1, true}, {{44, 84}, 22, 0.6}, {{96, 84}, 22, 0.6});
  set.AddPicture("BMP_BUNRETSU1", DrawInBox(kW, kH, {23, 5, 129, 96}, stage1), {23, 5, 129, 96});
  set.AddPicture("BMP_BUNRETSU2", DrawInBox(kW, kH, {25, 6, 127, 96}, stage2), {25, 6, 127, 96});
  set.AddPicture("BMP_BUNRETSU3", DrawInBox(kW, kH, {13, 1, 124, 99}, stage3), {13, 1, 124, 99});
  set.AddPicture("BMP_NANAME", DrawInBox(kW, kH, {17, 13, 141, 88}, Askew()), {17, 13, 141, 88});
  set.AddPicture("BMP_NAKI", DrawInBox(kW, kH, {22, 12, 121, 89}, Crying()), {22, 12, 121, 89});
}

}  // namespace pelmo::assets::gen
