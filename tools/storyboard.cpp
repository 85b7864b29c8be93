#include "tools/storyboard.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <utility>

namespace pelmo::tools {

namespace {

// Room for an 8K desktop; anything larger is a mistake better met with --crop.
constexpr std::int64_t kMaxFramePixels = std::int64_t{7680} * 4320;

}  // namespace

Storyboard::Storyboard(ui::Compositor compositor) : compositor_(std::move(compositor)) {}

void Storyboard::Record(const engine::Scene& scene) {
  desktop_ = scene.workArea;
  Frame frame;
  for (std::size_t i = 0; i < ui::kWindows.size(); ++i) {
    const ui::Presentation p = compositor_.Present(ui::kWindows[i], scene);
    if (!p.visible || p.rect.width <= 0 || p.rect.height <= 0) continue;
    if (p.pixelsChanged || !last_[i]) last_[i] = std::make_shared<const ui::Picture>(*p.buffer);
    frame.push_back({p.rect, last_[i]});
  }
  frames_.push_back(std::move(frame));
}

ui::ScreenRect Storyboard::ActionBounds(std::int32_t margin) const {
  std::int64_t left = desktop_.right, top = desktop_.bottom, right = desktop_.left,
               bottom = desktop_.top;
  for (const Frame& frame : frames_) {
    for (const Layer& layer : frame) {
      left = std::min<std::int64_t>(left, layer.rect.left);
      top = std::min<std::int64_t>(top, layer.rect.top);
      right = std::max<std::int64_t>(right, std::int64_t{layer.rect.left} + layer.rect.width);
      bottom = std::max<std::int64_t>(bottom, std::int64_t{layer.rect.top} + layer.rect.height);
    }
  }
  left = std::max<std::int64_t>(left - margin, desktop_.left);
  top = std::max<std::int64_t>(top - margin, desktop_.top);
  right = std::min<std::int64_t>(right + margin, desktop_.right);
  bottom = std::min<std::int64_t>(bottom + margin, desktop_.bottom);
  if (right <= left || bottom <= top) return {desktop_.left, desktop_.top, 1, 1};
  return {static_cast<std::int32_t>(left), static_cast<std::int32_t>(top),
          static_cast<std::int32_t>(right - left), static_cast<std::int32_t>(bottom - top)};
}

ui::Picture Storyboard::Render(std::size_t frame, const ui::ScreenRect& region,
                               std::int32_t shrink) const {
  const std::int32_t width = std::max(1, region.width / shrink);
  const std::int32_t height = std::max(1, region.height / shrink);
  if (std::int64_t{width} * height > kMaxFramePixels) {
    throw std::runtime_error("a storyboard frame of " + std::to_string(width) + " x " +
                             std::to_string(height) + " pixels is too large; use --crop");
  }
  ui::Picture out{
      width, height,
      std::vector<std::uint32_t>(static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
                                 kDesktopColour)};
  for (const Layer& layer : frames_.at(frame)) {
    const ui::Picture& pixels = *layer.pixels;
    for (std::int32_t y = 0; y < height; ++y) {
      const std::int64_t sy = std::int64_t{region.top} + std::int64_t{y} * shrink - layer.rect.top;
      if (sy < 0 || sy >= pixels.height) continue;
      for (std::int32_t x = 0; x < width; ++x) {
        const std::int64_t sx =
            std::int64_t{region.left} + std::int64_t{x} * shrink - layer.rect.left;
        if (sx < 0 || sx >= pixels.width) continue;
        const std::uint32_t c =
            pixels.At(static_cast<std::int32_t>(sx), static_cast<std::int32_t>(sy));
        if (c != ui::kKeyBlue) {
          out.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                     static_cast<std::size_t>(x)] = c;
        }
      }
    }
  }
  return out;
}

}  // namespace pelmo::tools
