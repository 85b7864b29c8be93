#include <cmath>
#include <limits>

#include "engine/engine.h"
#include "engine/picture_names.h"

namespace pelmo::engine {

namespace {

constexpr std::int32_t kOffScreenTop = -150;

// 10 * sin(t * 6.28 * 0.1) + left, truncated toward zero (a negative sum rounds up).
std::int32_t Sway(std::int32_t t, std::int32_t left) {
  const double sum = 10.0 * std::sin(t * 6.28 * 0.1) + left;
  const double truncated = std::trunc(sum);
  // Only a window parked at the very edge of the 32-bit range could leave it.
  if (truncated >= static_cast<double>(std::numeric_limits<std::int32_t>::max()))
    return std::numeric_limits<std::int32_t>::max();
  if (truncated <= static_cast<double>(std::numeric_limits<std::int32_t>::min()))
    return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(truncated);
}

}  // namespace

void Engine::EndClick() {
  state_.SetMode(BehaviourMode::Depart);
  state_.tick = 0;
  state_.dragging = 0;
}

// Cries for nine ticks, becomes an angel on the tenth and then rises, swaying,
// until the window is above the screen.
void Engine::DepartureStep() {
  const std::int32_t t = state_.tick;
  ImageControl& img = scene_.PelmoImg;
  SpriteWindow& form = scene_.Form1;
  if (t <= 9) {
    img.Width = 150;
    img.Height = 100;
    img.Picture = names::kNaki;
    if (t == 1) PlayCue(names::kBar);
  } else if (t == 10) {
    img.Height = 150;
    img.Width = 100;
    PlayCue(names::kShutdown);
    img.Picture = names::kAngel;
  } else {
    img.Picture = names::kAngel;
    form.Top = Add32(form.Top, -8);
    form.Left = Sway(t, form.Left);
  }
  if (form.Top < kOffScreenTop) CloseForm1();
}

}  // namespace pelmo::engine
