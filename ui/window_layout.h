#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "engine/scene.h"
#include "ui/compositor.h"

namespace pelmo::ui {

// One image control as its window paints it.
struct ControlView {
  const engine::ImageControl* control = nullptr;
  std::string_view name;
  bool alignClient = false;  // alClient: the control always fills its window
};

// A sprite window with its image controls in painting order (a later control
// covers an earlier one). The hidden text fields and buttons are not image
// controls and never draw, so they do not appear here.
struct WindowView {
  const engine::SpriteWindow* window = nullptr;
  std::string_view name;
  std::array<ControlView, 2> controls{};
  std::size_t controlCount = 0;
};

WindowView ViewOf(WindowId id, const engine::Scene& scene);

}  // namespace pelmo::ui
