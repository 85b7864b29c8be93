#include "ui/qt/argb_surface.h"

#include <xcb/shape.h>

#include <QRegion>

namespace pelmo::ui::qt {

// Where the window is not drawn, as when it grows, the server fills it with a
// fully transparent background.
ArgbSurface::ArgbSurface(SurfaceTarget target) : target_(target) {
  const std::uint32_t transparent = 0;
  xcb_change_window_attributes(target_.connection, target_.window, XCB_CW_BACK_PIXEL, &transparent);
}

void ArgbSurface::Draw(const ServerFrame& frame, QRect sprite) {
  xcb_connection_t* c = target_.connection;
  // Only where the frames have non-blue pixels is shown: XWayland before 23.1
  // does not pass the input shape on to a Wayland compositor, which then gives
  // the whole window the clicks, so the window leaves out the blue margin it
  // can. The part grows to hold every frame of the sprite's size, rather than
  // following each frame: some compositors (weston) lose a window that changes
  // its size on every tick.
  if (frame.size != reachSize_) {
    reach_ = frame.extents;
    reachSize_ = frame.size;
  } else {
    reach_ |= frame.extents;
  }
  const QRect shown(sprite.topLeft() + reach_.topLeft(), reach_.size());
  const QRect window = held_ ? held_->united(shown) : shown;
  const QPoint at = shown.topLeft() - window.topLeft();
  SetInputShape(held_ ? nullptr : &frame, at - reach_.topLeft());
  if (window != window_) Place(window);
  if (held_) {
    // The window outlives the sprite's moves: what the old sprite covered and
    // the new one does not goes back to the transparent background. The new
    // frame covers the rest, so nothing shows through in between.
    const QRegion uncovered =
        redraw_ ? QRegion(QRect(QPoint(), window_.size()))
                : QRegion(shown_.translated(-window_.topLeft())) - QRect(at, shown.size());
    for (const QRect& r : uncovered)
      xcb_clear_area(c, 0, target_.window, static_cast<std::int16_t>(r.x()),
                     static_cast<std::int16_t>(r.y()), static_cast<std::uint16_t>(r.width()),
                     static_cast<std::uint16_t>(r.height()));
  }
  xcb_copy_area(c, frame.pixmap, target_.window, target_.gc, static_cast<std::int16_t>(reach_.x()),
                static_cast<std::int16_t>(reach_.y()), static_cast<std::int16_t>(at.x()),
                static_cast<std::int16_t>(at.y()), static_cast<std::uint16_t>(shown.width()),
                static_cast<std::uint16_t>(shown.height()));
  shown_ = shown;
  redraw_ = false;
}

void ArgbSurface::Hold(QRect area) {
  held_ = area;
}

void ArgbSurface::Release() {
  held_.reset();
}

// Moved on the server directly: Qt would rewrite the window's size hints on
// every move.
void ArgbSurface::Place(QRect window) {
  const std::uint32_t values[] = {
      static_cast<std::uint32_t>(window.x()), static_cast<std::uint32_t>(window.y()),
      static_cast<std::uint32_t>(window.width()), static_cast<std::uint32_t>(window.height())};
  xcb_configure_window(target_.connection, target_.window,
                       XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH |
                           XCB_CONFIG_WINDOW_HEIGHT,
                       values);
  window_ = window;
  redraw_ = true;
}

// Only when it changes: a new input shape makes the server work out anew which
// window is under the pointer.
void ArgbSurface::SetInputShape(const ServerFrame* frame, QPoint at) {
  if (frame == nullptr) {
    if (fullInput_) return;
    xcb_shape_mask(target_.connection, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_INPUT, target_.window, 0, 0,
                   XCB_PIXMAP_NONE);
    fullInput_ = true;
    inputFrame_ = 0;
    return;
  }
  if (!fullInput_ && frame->id == inputFrame_ && at == inputAt_) return;
  xcb_shape_rectangles(target_.connection, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_INPUT,
                       XCB_CLIP_ORDERING_YX_BANDED, target_.window,
                       static_cast<std::int16_t>(at.x()), static_cast<std::int16_t>(at.y()),
                       static_cast<std::uint32_t>(frame->shape.size()), frame->shape.data());
  fullInput_ = false;
  inputFrame_ = frame->id;
  inputAt_ = at;
}

}  // namespace pelmo::ui::qt
