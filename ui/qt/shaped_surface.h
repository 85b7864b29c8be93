#pragma once

#include "ui/qt/surface.h"

namespace pelmo::ui::qt {

// The surface on an X server that draws windows itself, with no compositor:
// the window's bounding shape cuts away the key blue. The window is a stage a
// little larger than the sprite, and the sprite moves within it by moving its
// shape: every change of a window's shape or place repaints what it uncovers,
// and moving the window as well as reshaping it would do that twice per tick.
// The stage follows when the sprite reaches its edge. The window's background
// is the sprite as it stands, so the server repaints it by itself when another
// window uncovers it, and no exposure event comes back.
class ShapedSurface : public Surface {
 public:
  explicit ShapedSurface(SurfaceTarget target) : target_(target) {}
  ~ShapedSurface() override;

  void Draw(const ServerFrame& frame, QRect sprite) override;
  // A real X server reports a grabbed pointer anywhere.
  void Hold(QRect) override {}
  void Release() override {}

 private:
  void Restage(QRect sprite);

  SurfaceTarget target_;
  QRect rect_;                    // where the sprite was last put, on the screen
  QRect stage_;                   // where the window is, on the screen
  xcb_pixmap_t stagePixmap_ = 0;  // the window's background: the sprite where it stands
};

}  // namespace pelmo::ui::qt
