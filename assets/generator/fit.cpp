#include "assets/generator/fit.h"

#include <stdexcept>

namespace pelmo::assets::gen {
namespace {

// One edge of the target, searched by halving the step whenever the measured edge overshoots.
struct EdgeSearch {
  double position;
  double step = 0.5;
  int last_error = 0;

  void Correct(int error) {
    if (error == 0) return;
    if (last_error != 0 && (error > 0) != (last_error > 0)) step *= 0.5;
    position -= error > 0 ? step : -step;
    last_error = error;
  }
};

// The scale and offset that take the drawing span [from0, from1] to [to0, to1].
void MapSpan(double from0, double from1, double to0, double to1, double& scale, double& offset) {
  scale = (to1 - to0) / (from1 - from0);
  offset = to0 - scale * from0;
}

}  // namespace

Layer Render(int width, int height, const Transform& transform, const Art& art, bool hard_edges) {
  Layer layer(width, height);
  Painter painter(layer, transform, hard_edges);
  art(painter);
  return layer;
}

Transform FitToBox(int width, int height, PixelBox target, const Art& art, double least_cover,
                   bool hard_edges) {
  auto measure = [&](const Transform& t) {
    return OnBlue(Render(width, height, t, art, hard_edges), least_cover).FigureBox();
  };
  const PixelBox drawn = measure({});
  if (drawn.x1 < drawn.x0) throw std::runtime_error("drawing is empty");
  EdgeSearch left{static_cast<double>(target.x0)}, right{target.x1 + 1.0};
  EdgeSearch top{static_cast<double>(target.y0)}, bottom{target.y1 + 1.0};
  for (int attempt = 0; attempt < 60; ++attempt) {
    Transform t;
    MapSpan(drawn.x0, drawn.x1 + 1, left.position, right.position, t.sx, t.ox);
    MapSpan(drawn.y0, drawn.y1 + 1, top.position, bottom.position, t.sy, t.oy);
    const PixelBox got = measure(t);
    if (got == target) return t;
    left.Correct(got.x0 - target.x0);
    right.Correct(got.x1 - target.x1);
    top.Correct(got.y0 - target.y0);
    bottom.Correct(got.y1 - target.y1);
  }
  throw std::runtime_error("drawing cannot be fitted to its box");
}

Picture DrawInBox(int width, int height, PixelBox target, const Art& art) {
  return OnBlue(Render(width, height, FitToBox(width, height, target, art), art));
}

}  // namespace pelmo::assets::gen
