#include "assets/generator/makers.h"
#include "assets/generator/mascot.h"

namespace pelmo::assets::gen {
namespace {

constexpr int kW = 150;
constexpr int kH = 100;

// Lying on its side, head to the left; the face is turned with it, so the eyes sit one above the
// other and the mouth is an upright stroke between them. `plump` swells the narrow end.
void Lying(Painter& p, double tilt, double plump, const Tuft& tuft) {
  const Vec pivot{50, 55};
  auto turn = [&](Vec v) { return pivot + Rotate(v - pivot, tilt); };
  PaintTuft(p, turn({118, 52}), tuft);
  PaintBody(p, Rotated(Body(pivot, 35, {93, 57}, 25 + plump), pivot, tilt));
  PaintEye(p, turn({35, 43}));
  PaintEye(p, turn({35, 67}));
  PaintLine(p, {turn({26, 51}), turn({26, 59})});
}

Art Basic2Art() {
  return [](Painter& p) {
    Lying(p, -10, 0, {{{{130, 62}, {141, 66}}, {{128, 66}, {138, 76}}, {{124, 68}, {130, 82}}}});
  };
}

// Seen from behind, heading up: the wide end leads, only the eyes peep over the top edge.
Art UpArt(const Tuft& tuft) {
  return [tuft](Painter& p) {
    PaintTuft(p, {73, 86}, tuft);
    PaintBody(p, Stretched(Body({73, 42}, 36, {73, 72}, 16), {73, 42}, 1.25, 1.0));
    PaintEye(p, {58, 16});
    PaintEye(p, {88, 16});
  };
}

// Heading down toward the viewer: face near the bottom, tuft standing up.
Art DownArt(const Tuft& tuft) {
  return [tuft](Painter& p) {
    PaintTuft(p, {75, 27}, tuft);
    PaintBody(p, Stretched(Body({75, 64}, 30, {75, 36}, 15), {75, 64}, 1.3, 1.0));
    PaintEye(p, {63, 74});
    PaintEye(p, {87, 74});
    PaintLine(p, {{72, 84}, {78, 84}});
  };
}

}  // namespace

Art LyingArt(double plump) {
  return [plump](Painter& p) {
    Lying(p, 0, plump, {{{{130, 46}, {141, 38}}, {{126, 40}, {134, 24}}, {{120, 40}, {124, 20}}}});
  };
}

void MakeFacingFrames(AssetSet& set) {
  const Picture basic1 = DrawInBox(kW, kH, {17, 19, 141, 90}, LyingArt(0));
  const Picture basic2 = DrawInBox(kW, kH, {15, 11, 141, 87}, Basic2Art());
  set.AddPicture("BMP_BASIC1", basic1, {17, 19, 141, 90});
  set.AddPicture("BMP_BASIC2", basic2, {15, 11, 141, 87});
  set.AddPicture("BMP_MIGI1", Mirrored(basic1), {8, 19, 132, 90});
  set.AddPicture("BMP_MIGI2", Mirrored(basic2), {8, 11, 134, 87});

  const Tuft up1{{{{66, 94}, {58, 99}}, {{73, 94}, {73, 99}}, {{80, 94}, {88, 99}}}};
  const Tuft up2{{{{62, 92}, {50, 97}}, {{71, 95}, {68, 99}}, {{82, 92}, {94, 96}}}};
  set.AddPicture("BMP_UE1", DrawInBox(kW, kH, {27, 1, 119, 99}, UpArt(up1)), {27, 1, 119, 99});
  set.AddPicture("BMP_UE2", DrawInBox(kW, kH, {28, 0, 113, 98}, UpArt(up2)), {28, 0, 113, 98});

  const Tuft down1{{{{68, 14}, {62, 6}}, {{75, 14}, {76, 4}}, {{82, 14}, {90, 7}}}};
  const Tuft down2{{{{66, 18}, {56, 11}}, {{72, 12}, {80, 8}}, {{84, 18}, {93, 13}}}};
  set.AddPicture("BMP_SHITA1", DrawInBox(kW, kH, {35, 5, 115, 93}, DownArt(down1)),
                 {35, 5, 115, 93});
  set.AddPicture("BMP_SHITA2", DrawInBox(kW, kH, {33, 9, 117, 92}, DownArt(down2)),
                 {33, 9, 117, 92});
}

}  // namespace pelmo::assets::gen
