#include "ui/display_scale.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <string>

#include "ui/paint.h"

namespace pelmo::ui {

namespace {

// As many replicated frames per window as the compositor keeps composed ones.
constexpr std::size_t kKeptFrames = 4;
// Only sprite-sized frames are kept once they are no longer shown, as in the
// compositor: the swelling mascot's frames are seen once each.
constexpr std::int64_t kMaxKeptSourcePixels = 320 * 240;

// The compositor's ids count up from 1 and never reach the top byte, which
// carries the scale: a frame at 2x and the same frame at 1x are different pictures.
constexpr int kScaleShift = 56;

std::uint64_t ScaledId(std::uint64_t id, int scale) {
  return scale == 1 ? id : id | (static_cast<std::uint64_t>(scale) << kScaleShift);
}

std::int32_t Floor(std::int32_t value, int scale) {
  const std::int32_t q = value / scale;
  return (value % scale != 0 && value < 0) ? q - 1 : q;
}

std::int32_t Ceil(std::int32_t value, int scale) {
  const std::int32_t q = value / scale;
  return (value % scale != 0 && value > 0) ? q + 1 : q;
}

// Wraps as the platform's 32-bit coordinates do, like every sum of them.
std::int32_t Times(std::int32_t value, int scale) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(value) *
                                   static_cast<std::uint32_t>(scale));
}

}  // namespace

int ScaleForDpi(double dpi) {
  if (!(dpi > 0)) return 1;  // also NaN
  const double nearest = std::floor(dpi / 96.0 + 0.5);
  return static_cast<int>(std::clamp(nearest, 1.0, static_cast<double>(kMaxScale)));
}

void Replicate(const Picture& source, int scale, Picture& out) {
  out.width = source.width * scale;
  out.height = source.height * scale;
  out.pixels.resize(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height));
  const auto width = static_cast<std::size_t>(source.width);
  const auto outWidth = static_cast<std::size_t>(out.width);
  for (std::int32_t y = 0; y < source.height; ++y) {
    const std::uint32_t* src = source.pixels.data() + static_cast<std::size_t>(y) * width;
    std::uint32_t* row = out.pixels.data() + static_cast<std::size_t>(y * scale) * outWidth;
    std::uint32_t* dst = row;
    for (std::size_t x = 0; x < width; ++x) dst = std::fill_n(dst, scale, src[x]);
    for (int copy = 1; copy < scale; ++copy)
      std::copy(row, row + outWidth, row + static_cast<std::size_t>(copy) * outWidth);
  }
}

DisplayScale::DisplayScale(int factor) {
  SetFactor(factor);
}

bool DisplayScale::SetFactor(int factor) {
  factor = std::clamp(factor, 1, kMaxScale);
  if (factor == factor_) return false;
  factor_ = factor;
  for (WindowFrames& frames : windows_) frames.recent.clear();
  return true;
}

engine::Point DisplayScale::ToEngine(engine::Point device) const {
  return {Floor(device.x, factor_), Floor(device.y, factor_)};
}

engine::WorkArea DisplayScale::ToEngine(const engine::WorkArea& device) const {
  return {Ceil(device.left, factor_), Ceil(device.top, factor_), Floor(device.right, factor_),
          Floor(device.bottom, factor_)};
}

engine::Point DisplayScale::ToDevice(engine::Point point) const {
  return {Times(point.x, factor_), Times(point.y, factor_)};
}

const Picture& DisplayScale::Scaled(WindowFrames& frames, std::uint64_t id, const Picture& source) {
  auto& recent = frames.recent;
  auto kept =
      std::find_if(recent.begin(), recent.end(), [id](const ScaledFrame& f) { return f.id == id; });
  if (kept == recent.end()) {
    const std::int64_t pixels = static_cast<std::int64_t>(source.width) * source.height;
    if (pixels * factor_ * factor_ > kMaxComposedPixels) {
      throw PictureError("a window part of " + std::to_string(source.width) + " x " +
                         std::to_string(source.height) + " pixels is too large to draw " +
                         std::to_string(factor_) + " times");
    }
    ScaledFrame frame;
    if (recent.size() == kKeptFrames) {
      frame = std::move(recent.back());  // its buffer is reused
      recent.pop_back();
    }
    frame.id = id;
    Replicate(source, factor_, frame.picture);
    recent.insert(recent.begin(), std::move(frame));
  } else {
    std::rotate(recent.begin(), kept, kept + 1);
  }
  const std::int64_t factorSquared = static_cast<std::int64_t>(factor_) * factor_;
  recent.erase(std::remove_if(recent.begin() + 1, recent.end(),
                              [factorSquared](const ScaledFrame& f) {
                                return static_cast<std::int64_t>(f.picture.width) *
                                           f.picture.height >
                                       kMaxKeptSourcePixels * factorSquared;
                              }),
               recent.end());
  return recent.front().picture;
}

Presentation DisplayScale::ToDevice(WindowId window, const Presentation& presentation) {
  if (!presentation.visible) return presentation;
  WindowFrames& frames = windows_[static_cast<std::size_t>(window)];
  Presentation p = presentation;
  p.frameId = ScaledId(presentation.frameId, factor_);
  if (factor_ != 1) {
    p.rect = {Times(p.rect.left, factor_), Times(p.rect.top, factor_), Times(p.rect.width, factor_),
              Times(p.rect.height, factor_)};
    if (p.buffer != nullptr) p.buffer = &Scaled(frames, p.frameId, *p.buffer);
  }
  // A change of scale shows every window anew, although its own pixels did not change.
  p.pixelsChanged = p.frameId != frames.lastId;
  frames.lastId = p.frameId;
  return p;
}

}  // namespace pelmo::ui
