#include "ui/paint.h"

#include <cstddef>
#include <vector>

namespace pelmo::ui {

Rect64 Intersect(const Rect64& a, const Rect64& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
          std::min(a.bottom, b.bottom)};
}

Rect64 Bound(const Rect64& a, const Rect64& b) {
  if (a.Empty()) return b;
  if (b.Empty()) return a;
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
          std::max(a.bottom, b.bottom)};
}

void ResetCanvas(Canvas& canvas, const Rect64& area) {
  canvas.area = area;
  canvas.pixels.width = static_cast<std::int32_t>(area.Width());
  canvas.pixels.height = static_cast<std::int32_t>(area.Height());
  canvas.pixels.pixels.assign(static_cast<std::size_t>(area.Width() * area.Height()), kKeyBlue);
}

namespace {

// The source index for destination offset `d` of `span` destination pixels over
// `size` source pixels: the source pixel under the destination pixel's centre.
std::int64_t Nearest(std::int64_t d, std::int64_t size, std::int64_t span) {
  return ((2 * d + 1) * size) / (2 * span);
}

}  // namespace

void DrawImage(Canvas& canvas, const Rect64& windowRect, const Rect64& control,
               const engine::ImageControl& settings, const Picture& picture) {
  if (picture.width <= 0 || picture.height <= 0) return;
  Rect64 clip = Intersect(Intersect(control, windowRect), canvas.area);
  if (!settings.Stretch) {
    clip = Intersect(clip, Rect64::Sized(control.left, control.top, picture.width, picture.height));
  }
  if (clip.Empty()) return;

  // Bottom-left: the last row, as rows are kept top-down.
  const std::uint32_t key = picture.At(0, picture.height - 1);
  const bool transparent = settings.Transparent;

  std::vector<std::int32_t> columns(static_cast<std::size_t>(clip.Width()));
  for (std::int64_t x = clip.left; x < clip.right; ++x) {
    const std::int64_t d = x - control.left;
    columns[static_cast<std::size_t>(x - clip.left)] = static_cast<std::int32_t>(
        settings.Stretch ? Nearest(d, picture.width, control.Width()) : d);
  }

  const auto canvasWidth = static_cast<std::size_t>(canvas.pixels.width);
  for (std::int64_t y = clip.top; y < clip.bottom; ++y) {
    const std::int64_t d = y - control.top;
    const std::int64_t sy = settings.Stretch ? Nearest(d, picture.height, control.Height()) : d;
    const std::uint32_t* src = picture.pixels.data() + static_cast<std::size_t>(sy) *
                                                           static_cast<std::size_t>(picture.width);
    std::uint32_t* dst = canvas.pixels.pixels.data() +
                         static_cast<std::size_t>(y - canvas.area.top) * canvasWidth +
                         static_cast<std::size_t>(clip.left - canvas.area.left);
    for (const std::int32_t sx : columns) {
      const std::uint32_t pixel = src[sx];
      if (!transparent || pixel != key) *dst = pixel;
      ++dst;
    }
  }
}

}  // namespace pelmo::ui
