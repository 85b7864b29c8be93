#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "engine/geometry.h"
#include "ui/compositor.h"
#include "ui/picture.h"

namespace pelmo::ui {

// Beyond this the desktop's setting is taken as a mistake: eight device pixels to
// each of the engine's already make a 150 x 100 mascot 1200 x 800.
inline constexpr int kMaxScale = 8;

// The scale of a desktop set to `dpi` dots per inch: the nearest whole multiple
// of 96 dpi, at least 1 and at most kMaxScale (120 -> 1, 144 -> 2, 192 -> 2).
int ScaleForDpi(double dpi);

// `source` with each pixel as a `scale` x `scale` block of the same colour, into
// `out` (whose memory is reused). Nothing is blended, so key blue stays exact.
void Replicate(const Picture& source, int scale, Picture& out);

// The engine works in its own pixels, N device pixels to each on a desktop
// scaled N times. Everything a front-end passes between the two goes through
// here: the pointer and the work area on the way in, divided by N; the windows'
// places, sizes and pixels on the way out, multiplied by N. A scenario thus runs
// the same at every scale.
class DisplayScale {
 public:
  explicit DisplayScale(int factor = 1);

  int Factor() const { return factor_; }
  // Clamped to 1..kMaxScale; returns whether the factor changed.
  bool SetFactor(int factor);

  // The engine pixel holding a device pixel.
  engine::Point ToEngine(engine::Point device) const;
  // The whole engine pixels inside a device work area.
  engine::WorkArea ToEngine(const engine::WorkArea& device) const;
  engine::Point ToDevice(engine::Point point) const;

  // The presentation in device pixels. The buffer is the compositor's at N = 1
  // and a replicated copy above, valid until the next call for the same window;
  // copies are kept for the last few frames, as the compositor keeps its own, so
  // a walk flipping between two pictures replicates nothing once it has started.
  // Frame ids stay distinct across scales: a front-end may keep frames by id.
  // Throws PictureError, leaving the kept frames as they were, when the scaled
  // part would be larger than any window part is ever composed.
  Presentation ToDevice(WindowId window, const Presentation& presentation);

 private:
  struct ScaledFrame {
    std::uint64_t id = 0;  // the scaled frame's id
    Picture picture;
  };
  struct WindowFrames {
    std::vector<ScaledFrame> recent;  // most recently handed out first
    std::uint64_t lastId = 0;         // of the last visible presentation handed out
  };

  const Picture& Scaled(WindowFrames& frames, std::uint64_t id, const Picture& source);

  int factor_ = 1;
  std::array<WindowFrames, kWindows.size()> windows_;
};

}  // namespace pelmo::ui
