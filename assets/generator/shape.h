#pragma once

#include <functional>
#include <vector>

#include "assets/generator/geometry.h"

namespace pelmo::assets::gen {

// A region of the plane given by its signed distance: negative inside, positive outside, in
// drawing units. `bounds` encloses the inside; painting never looks beyond it.
struct Shape {
  std::function<double(Vec)> distance;
  Box bounds;
};

Shape Circle(Vec centre, double radius);
Shape Ellipse(Vec centre, double rx, double ry, double degrees = 0);
// The smooth hull of two circles: an egg or teardrop from the wide end `a` to the narrow end `b`.
Shape Egg(Vec a, double ra, Vec b, double rb);
// A closed polygon, its corners in order.
Shape Polygon(std::vector<Vec> corners);
// A line of the given width through the points, with round ends and joints.
Shape Stroke(std::vector<Vec> points, double width);
// Points along a quadratic curve from `a` to `c` pulled toward `b`.
std::vector<Vec> Curve(Vec a, Vec b, Vec c, int steps = 16);
// Points along a cubic curve from `a` to `d` with handles `b` and `c`.
std::vector<Vec> Curve(Vec a, Vec b, Vec c, Vec d, int steps = 24);

Shape Union(const std::vector<Shape>& parts);
// A union whose parts flow into each other over about `k` units, leaving no crease where they
// meet, inside or out; for puffy outlines that are filled in one piece.
Shape SmoothUnion(const std::vector<Shape>& parts, double k);
Shape Intersect(const Shape& a, const Shape& b);
Shape Subtract(const Shape& a, const Shape& cut);
// The shape widened (d > 0) or narrowed (d < 0) by d all round.
Shape Offset(const Shape& s, double d);
// The shape rotated about `pivot`.
Shape Rotated(const Shape& s, Vec pivot, double degrees);
// The shape stretched by (kx, ky) about `pivot`.
Shape Stretched(const Shape& s, Vec pivot, double kx, double ky);

}  // namespace pelmo::assets::gen
