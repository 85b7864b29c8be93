#pragma once

#include <optional>

#include "ui/qt/surface.h"

namespace pelmo::ui::qt {

// The surface where a compositor draws the windows from their own pixels, as
// XWayland and X compositing managers do. Such a compositor may show a window's
// whole rectangle whatever its bounding shape says, so the window has a 32-bit
// visual instead: the key blue is stored fully transparent, everything else
// fully opaque, and the input shape alone lets clicks on the blue through.
//
// The window is the rectangle of the sprite's non-blue pixels and every frame
// covers all of it, so nothing of an earlier frame can stay behind, and what
// the compositor repaints per tick is the sprite and no more.
//
// While the sprite is held, the window also spans the area the pointer may
// roam, with a full input shape: a Wayland compositor tells XWayland of the
// pointer only over X windows, and a drag must not lose it.
class ArgbSurface : public Surface {
 public:
  explicit ArgbSurface(SurfaceTarget target);

  void Draw(const ServerFrame& frame, QRect sprite) override;
  void Hold(QRect area) override;
  void Release() override;

 private:
  void Place(QRect window);
  void SetInputShape(const ServerFrame* frame, QPoint at);

  SurfaceTarget target_;
  std::optional<QRect> held_;  // the area the pointer may roam in
  QRect window_;               // where the window is, on the screen
  QRect reach_;                // of the frames of this size: where they have non-blue pixels
  QSize reachSize_;
  QRect shown_;                   // where the sprite's non-blue extents were last drawn
  bool redraw_ = true;            // the window's pixels are to be drawn afresh
  std::uint64_t inputFrame_ = 0;  // whose shape the input shape is, and where; 0 for none
  QPoint inputAt_;
  bool fullInput_ = true;  // as a new window has it
};

}  // namespace pelmo::ui::qt
