#include "assets/generator/mascot.h"

#include "assets/generator/colour.h"

namespace pelmo::assets::gen {

Shape Body(Vec head, double head_r, Vec tail, double tail_r) {
  return Egg(head, head_r, tail, tail_r);
}

void PaintBody(Painter& p, const Shape& body) {
  p.Outlined(body, kCream, kBrown, kOutline);
}

void PaintTuft(Painter& p, Vec root, const Tuft& tuft, double width) {
  for (const Sprig& s : tuft) p.Fill(Stroke(Curve(root, s.bend, s.tip), width), kBrown);
}

void PaintDot(Painter& p, Vec centre, double radius) {
  p.Fill(Circle(centre, radius), kBrown);
}

void PaintEye(Painter& p, Vec centre, double radius) {
  PaintDot(p, centre, radius);
  p.Fill(Circle(centre + Vec{-0.35, -0.35} * radius, radius * 0.36), kWhite);
}

void PaintLine(Painter& p, std::vector<Vec> points, double width) {
  p.Fill(Stroke(std::move(points), width), kBrown);
}

}  // namespace pelmo::assets::gen
