#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/scene.h"
#include "ui/compositor.h"

namespace pelmo::tools {

// The plain desktop behind the mascot in storyboards: a muted teal, far from
// every colour of the artwork, so that the keyed-out blue is easy to tell apart.
inline constexpr std::uint32_t kDesktopColour = 0x3A6E78;

// Records what the four windows present after every tick, then renders any
// recorded tick as the desktop would show it: the windows' non-blue pixels over
// a plain desktop, stacked Form1, FoodForm, RainForm, SunForm from the bottom
// (the order they are first shown in, each newly shown window coming to the front).
class Storyboard {
 public:
  explicit Storyboard(ui::Compositor compositor = ui::Compositor());

  void Record(const engine::Scene& scene);

  std::size_t FrameCount() const { return frames_.size(); }
  engine::WorkArea Desktop() const { return desktop_; }

  // The smallest rectangle holding every window's visible pixels over all
  // recorded ticks, widened by `margin` and kept within the desktop.
  ui::ScreenRect ActionBounds(std::int32_t margin) const;

  // The recorded tick `frame` inside `region` (screen coordinates), reduced by
  // the whole factor `shrink` (nearest pixel).
  ui::Picture Render(std::size_t frame, const ui::ScreenRect& region, std::int32_t shrink) const;

 private:
  struct Layer {
    ui::ScreenRect rect;
    std::shared_ptr<const ui::Picture> pixels;  // shared while a window's pixels stay the same
  };
  using Frame = std::vector<Layer>;

  ui::Compositor compositor_;
  std::vector<Frame> frames_;
  std::array<std::shared_ptr<const ui::Picture>, ui::kWindows.size()> last_{};
  engine::WorkArea desktop_;
};

}  // namespace pelmo::tools
