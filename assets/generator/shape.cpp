#include "assets/generator/shape.h"

#include <utility>

namespace pelmo::assets::gen {
namespace {

Box BoxOf(const std::vector<Vec>& points, double margin) {
  Box b;
  for (Vec p : points) b.Add(p);
  return b.Grown(margin);
}

double SegmentDistance(Vec p, Vec a, Vec b) {
  const Vec ab = b - a;
  const double len2 = Dot(ab, ab);
  const double t = len2 > 0 ? std::clamp(Dot(p - a, ab) / len2, 0.0, 1.0) : 0.0;
  return Length(p - (a + ab * t));
}

}  // namespace

Shape Circle(Vec centre, double radius) {
  return {[=](Vec p) { return Length(p - centre) - radius; },
          Box{centre.x - radius, centre.y - radius, centre.x + radius, centre.y + radius}};
}

Shape Ellipse(Vec centre, double rx, double ry, double degrees) {
  // Distance estimate from the ellipse's implicit equation, exact on the curve and close enough
  // within the pixel or two that shading looks at.
  auto distance = [=](Vec p) {
    const Vec q = Rotate(p - centre, -degrees);
    const double k0 = std::hypot(q.x / rx, q.y / ry);
    const double k1 = std::hypot(q.x / (rx * rx), q.y / (ry * ry));
    if (k1 == 0) return -std::min(rx, ry);
    return k0 * (k0 - 1.0) / k1;
  };
  const double r = std::max(rx, ry);
  return {distance, Box{centre.x - r, centre.y - r, centre.x + r, centre.y + r}};
}

Shape Egg(Vec a, double ra, Vec b, double rb) {
  const double h = Length(b - a);
  const Vec axis = (b - a) * (1.0 / h);
  const double k = (ra - rb) / h;
  const double m = std::sqrt(1.0 - k * k);
  auto distance = [=](Vec p) {
    const Vec d = p - a;
    const double along = Dot(d, axis);
    const double across = std::abs(Cross(axis, d));
    const double side = -k * across + m * along;
    if (side < 0) return std::hypot(across, along) - ra;
    if (side > m * h) return std::hypot(across, along - h) - rb;
    return m * across + k * along - ra;
  };
  Box box = Circle(a, ra).bounds;
  box.Add(Circle(b, rb).bounds);
  return {distance, box};
}

Shape Polygon(std::vector<Vec> corners) {
  const Box box = BoxOf(corners, 0);
  auto distance = [v = std::move(corners)](Vec p) {
    double best = Dot(p - v[0], p - v[0]);
    double sign = 1;
    for (std::size_t i = 0, j = v.size() - 1; i < v.size(); j = i++) {
      const Vec e = v[j] - v[i];
      const Vec w = p - v[i];
      const Vec b = w - e * std::clamp(Dot(w, e) / Dot(e, e), 0.0, 1.0);
      best = std::min(best, Dot(b, b));
      const bool c1 = p.y >= v[i].y;
      const bool c2 = p.y < v[j].y;
      const bool c3 = e.x * w.y > e.y * w.x;
      if ((c1 && c2 && c3) || (!c1 && !c2 && !c3)) sign = -sign;
    }
    return sign * std::sqrt(best);
  };
  return {distance, box};
}

Shape Stroke(std::vector<Vec> points, double width) {
  const Box box = BoxOf(points, width / 2);
  auto distance = [pts = std::move(points), half = width / 2](Vec p) {
    double best = Length(p - pts[0]);
    for (std::size_t i = 1; i < pts.size(); ++i) {
      best = std::min(best, SegmentDistance(p, pts[i - 1], pts[i]));
    }
    return best - half;
  };
  return {distance, box};
}

std::vector<Vec> Curve(Vec a, Vec b, Vec c, int steps) {
  std::vector<Vec> out;
  for (int i = 0; i <= steps; ++i) {
    const double t = static_cast<double>(i) / steps;
    out.push_back(Lerp(Lerp(a, b, t), Lerp(b, c, t), t));
  }
  return out;
}

std::vector<Vec> Curve(Vec a, Vec b, Vec c, Vec d, int steps) {
  std::vector<Vec> out;
  for (int i = 0; i <= steps; ++i) {
    const double t = static_cast<double>(i) / steps;
    const Vec ab = Lerp(a, b, t), bc = Lerp(b, c, t), cd = Lerp(c, d, t);
    out.push_back(Lerp(Lerp(ab, bc, t), Lerp(bc, cd, t), t));
  }
  return out;
}

Shape Union(const std::vector<Shape>& parts) {
  Box box;
  for (const Shape& s : parts) box.Add(s.bounds);
  auto distance = [parts](Vec p) {
    double best = 1e300;
    for (const Shape& s : parts) best = std::min(best, s.distance(p));
    return best;
  };
  return {distance, box};
}

Shape SmoothUnion(const std::vector<Shape>& parts, double k) {
  Box box;
  for (const Shape& s : parts) box.Add(s.bounds);
  auto distance = [parts, k](Vec p) {
    double d = parts[0].distance(p);
    for (std::size_t i = 1; i < parts.size(); ++i) {
      const double e = parts[i].distance(p);
      const double h = std::max(k - std::abs(d - e), 0.0) / k;
      d = std::min(d, e) - h * h * k / 4;
    }
    return d;
  };
  return {distance, box};
}

Shape Intersect(const Shape& a, const Shape& b) {
  Box box{std::max(a.bounds.x0, b.bounds.x0), std::max(a.bounds.y0, b.bounds.y0),
          std::min(a.bounds.x1, b.bounds.x1), std::min(a.bounds.y1, b.bounds.y1)};
  return {[a, b](Vec p) { return std::max(a.distance(p), b.distance(p)); }, box};
}

Shape Subtract(const Shape& a, const Shape& cut) {
  return {[a, cut](Vec p) { return std::max(a.distance(p), -cut.distance(p)); }, a.bounds};
}

Shape Offset(const Shape& s, double d) {
  return {[s, d](Vec p) { return s.distance(p) - d; }, s.bounds.Grown(std::max(d, 0.0))};
}

Shape Rotated(const Shape& s, Vec pivot, double degrees) {
  Box box;
  const Box& b = s.bounds;
  for (Vec corner : {Vec{b.x0, b.y0}, Vec{b.x1, b.y0}, Vec{b.x0, b.y1}, Vec{b.x1, b.y1}}) {
    box.Add(pivot + Rotate(corner - pivot, degrees));
  }
  return {[s, pivot, degrees](Vec p) { return s.distance(pivot + Rotate(p - pivot, -degrees)); },
          box};
}

Shape Stretched(const Shape& s, Vec pivot, double kx, double ky) {
  const Box& b = s.bounds;
  Box box;
  box.Add(Vec{pivot.x + (b.x0 - pivot.x) * kx, pivot.y + (b.y0 - pivot.y) * ky});
  box.Add(Vec{pivot.x + (b.x1 - pivot.x) * kx, pivot.y + (b.y1 - pivot.y) * ky});
  const double k = std::min(kx, ky);
  return {[=](Vec p) {
            return s.distance({pivot.x + (p.x - pivot.x) / kx, pivot.y + (p.y - pivot.y) / ky}) * k;
          },
          box};
}

}  // namespace pelmo::assets::gen
