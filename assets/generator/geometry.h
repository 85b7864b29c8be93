#pragma once

#include <algorithm>
#include <cmath>

namespace pelmo::assets::gen {

inline constexpr double kPi = 3.14159265358979323846;

struct Vec {
  double x = 0;
  double y = 0;
};

inline Vec operator+(Vec a, Vec b) {
  return {a.x + b.x, a.y + b.y};
}
inline Vec operator-(Vec a, Vec b) {
  return {a.x - b.x, a.y - b.y};
}
inline Vec operator*(Vec a, double s) {
  return {a.x * s, a.y * s};
}
inline double Dot(Vec a, Vec b) {
  return a.x * b.x + a.y * b.y;
}
inline double Cross(Vec a, Vec b) {
  return a.x * b.y - a.y * b.x;
}
inline double Length(Vec a) {
  return std::sqrt(Dot(a, a));
}
inline Vec Lerp(Vec a, Vec b, double t) {
  return a + (b - a) * t;
}

// Rotates by `degrees`; with y pointing down the screen a positive angle turns clockwise.
inline Vec Rotate(Vec a, double degrees) {
  const double r = degrees * kPi / 180.0;
  const double c = std::cos(r);
  const double s = std::sin(r);
  return {a.x * c - a.y * s, a.x * s + a.y * c};
}

inline Vec Polar(double degrees, double radius) {
  return Rotate({radius, 0}, degrees);
}

// An axis-aligned rectangle in continuous coordinates, empty when x0 > x1.
struct Box {
  double x0 = 1e300;
  double y0 = 1e300;
  double x1 = -1e300;
  double y1 = -1e300;

  void Add(Vec p) {
    x0 = std::min(x0, p.x);
    y0 = std::min(y0, p.y);
    x1 = std::max(x1, p.x);
    y1 = std::max(y1, p.y);
  }
  void Add(const Box& b) {
    x0 = std::min(x0, b.x0);
    y0 = std::min(y0, b.y0);
    x1 = std::max(x1, b.x1);
    y1 = std::max(y1, b.y1);
  }
  Box Grown(double d) const { return {x0 - d, y0 - d, x1 + d, y1 + d}; }
};

// Maps drawing coordinates to pixel coordinates by an independent scale and offset per axis,
// which is all that fitting a drawing into its box needs.
struct Transform {
  double sx = 1;
  double sy = 1;
  double ox = 0;
  double oy = 0;

  Vec Apply(Vec p) const { return {p.x * sx + ox, p.y * sy + oy}; }
  Vec Invert(Vec p) const { return {(p.x - ox) / sx, (p.y - oy) / sy}; }
  // How many pixels one drawing unit spans, for turning distances into pixels.
  double Scale() const { return std::sqrt(std::abs(sx * sy)); }
};

}  // namespace pelmo::assets::gen
