#include "ui/qt/shaped_surface.h"

#include <xcb/shape.h>

namespace pelmo::ui::qt {

namespace {

// Room around the sprite in which it moves before the window has to follow.
// Following costs the server as much again as the tick's own drawing: the move
// carries the sprite along and the reshape brings it back, each repainting what
// the whole sprite uncovered. The stage's pixmap has this much round the
// sprite, about 1 MB for the walking mascot.
constexpr int kStageMargin = 192;

// The window around a sprite that had to leave it: centred on the sprite, except
// along an axis the sprite is moving on, where the room is put ahead of it. A
// walk of ten pixels a tick then moves the window about once in thirty-seven.
QRect StageAround(QRect sprite, QPoint motion) {
  QRect stage = sprite.adjusted(-kStageMargin, -kStageMargin, kStageMargin, kStageMargin);
  const int ahead = kStageMargin - 8;
  const auto sign = [](int v) { return (v > 0) - (v < 0); };
  return stage.translated(sign(motion.x()) * ahead, sign(motion.y()) * ahead);
}

}  // namespace

ShapedSurface::~ShapedSurface() {
  if (stagePixmap_ != 0) xcb_free_pixmap(target_.connection, stagePixmap_);
}

// One change of shape, which repaints what the sprite uncovers, and the pixels
// copied in. The background becomes the same picture; it is cleared first, so
// that the change of shape does not paint the newly shown pixels a first time
// from the old picture.
void ShapedSurface::Draw(const ServerFrame& frame, QRect sprite) {
  if (!stage_.contains(sprite)) Restage(sprite);
  xcb_connection_t* c = target_.connection;
  const QPoint at = sprite.topLeft() - stage_.topLeft();
  const auto x = static_cast<std::int16_t>(at.x());
  const auto y = static_cast<std::int16_t>(at.y());
  const auto width = static_cast<std::uint16_t>(frame.size.width());
  const auto height = static_cast<std::uint16_t>(frame.size.height());
  const std::uint32_t none = XCB_BACK_PIXMAP_NONE;
  xcb_change_window_attributes(c, target_.window, XCB_CW_BACK_PIXMAP, &none);
  xcb_shape_rectangles(c, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_BOUNDING, XCB_CLIP_ORDERING_YX_BANDED,
                       target_.window, x, y, static_cast<std::uint32_t>(frame.shape.size()),
                       frame.shape.data());
  xcb_copy_area(c, frame.pixmap, target_.window, target_.gc, 0, 0, x, y, width, height);
  xcb_copy_area(c, frame.pixmap, stagePixmap_, target_.gc, 0, 0, x, y, width, height);
  xcb_change_window_attributes(c, target_.window, XCB_CW_BACK_PIXMAP, &stagePixmap_);
  rect_ = sprite;
}

// The window is moved on the server directly: Qt would rewrite its size hints
// property on every move, and the server would echo each move back.
void ShapedSurface::Restage(QRect sprite) {
  xcb_connection_t* c = target_.connection;
  const QPoint motion =
      sprite.size() == rect_.size() ? sprite.topLeft() - rect_.topLeft() : QPoint();
  const QRect stage = StageAround(sprite, motion);
  if (stage.size() != stage_.size()) {
    if (stagePixmap_ != 0) xcb_free_pixmap(c, stagePixmap_);
    stagePixmap_ = xcb_generate_id(c);
    xcb_create_pixmap(c, target_.depth, stagePixmap_, target_.window,
                      static_cast<std::uint16_t>(stage.width()),
                      static_cast<std::uint16_t>(stage.height()));
  }
  const std::uint32_t values[] = {
      static_cast<std::uint32_t>(stage.x()), static_cast<std::uint32_t>(stage.y()),
      static_cast<std::uint32_t>(stage.width()), static_cast<std::uint32_t>(stage.height())};
  xcb_configure_window(c, target_.window,
                       XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH |
                           XCB_CONFIG_WINDOW_HEIGHT,
                       values);
  stage_ = stage;
}

}  // namespace pelmo::ui::qt
