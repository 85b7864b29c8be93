#include "engine/steering.h"

#include "engine/engine.h"
#include "engine/picture_names.h"

namespace pelmo::engine {

std::int32_t AxisStep(std::int64_t d) {
  double v = static_cast<double>(d) * 0.2;
  if (v >= 10.0) v = 10.0;
  if (v <= -10.0) v = -10.0;
  return static_cast<std::int32_t>(v);  // truncates toward zero
}

std::string_view FacingFrame(std::int32_t sx, std::int32_t sy, std::int32_t tick) {
  const int q = (sx - sy > 0 ? 2 : 0) + (sx + sy > 0 ? 1 : 0);
  const bool even = tick % 2 == 0;
  switch (q) {
    case 1:
      return even ? names::kShita1 : names::kShita2;
    case 2:
      return even ? names::kUe1 : names::kUe2;
    case 3:
      return even ? names::kMigi1 : names::kMigi2;
    default:
      return even ? names::kBasic1 : names::kBasic2;
  }
}

void Engine::SteerToward(std::int32_t x, std::int32_t y) {
  SpriteWindow& form = scene_.Form1;
  // Both steps come from the position before the move.
  const std::int32_t sx = AxisStep(static_cast<std::int64_t>(x) - form.Left);
  const std::int32_t sy = AxisStep(static_cast<std::int64_t>(y) - form.Top);
  scene_.PelmoImg.Picture = FacingFrame(sx, sy, state_.tick);
  form.Left = Add32(form.Left, sx);
  form.Top = Add32(form.Top, sy);
}

void Engine::DragFollowStep() {
  // The grip, 30 right of and 50 below the window's corner, trails the pointer.
  state_.targetX = Add32(scene_.pointer.x, -30);
  state_.targetY = Add32(scene_.pointer.y, -50);
  scene_.effects.dragCursor = true;
  SteerToward(state_.targetX, state_.targetY);
}

}  // namespace pelmo::engine
