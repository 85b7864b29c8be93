#pragma once

#include <xcb/xcb.h>

#include <QRect>
#include <QSize>
#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "ui/picture.h"

namespace pelmo::ui::qt {

// One composed frame as the X server holds it: its pixels in a pixmap of the
// window's depth, and the rectangles of its non-blue pixels in y-x bands.
struct ServerFrame {
  std::uint64_t id = 0;  // the compositor's: equal ids, equal pixels
  xcb_pixmap_t pixmap = 0;
  QSize size;
  std::vector<xcb_rectangle_t> shape;
  QRect extents;  // of the shape: where the frame's non-blue pixels lie
};

// How a window's pixels are laid out. On a 24-bit visual the key blue is drawn
// as it is and the window's shape hides it; on a 32-bit visual it becomes fully
// transparent and everything else fully opaque, never in between.
enum class PixelFormat { Rgb24, Argb32 };

// The frames of one window uploaded to the X server, each once, by the id the
// compositor gives its pixels. Showing a frame again is then a few small
// requests with no pixels in them.
class ServerFrames {
 public:
  ServerFrames(xcb_connection_t* connection, xcb_drawable_t window, PixelFormat format);
  ~ServerFrames();
  ServerFrames(const ServerFrames&) = delete;
  ServerFrames& operator=(const ServerFrames&) = delete;

  const ServerFrame& Get(std::uint64_t id, const Picture& buffer);
  const ServerFrame* Find(std::uint64_t id) const;
  std::uint8_t Depth() const { return depth_; }

 private:
  void Upload(xcb_pixmap_t pixmap, const Picture& buffer);
  void Clear();

  xcb_connection_t* connection_;
  xcb_drawable_t window_;
  PixelFormat format_;
  std::uint8_t depth_;
  std::unordered_map<std::uint64_t, ServerFrame> frames_;
  std::size_t bytes_ = 0;  // of the frames' pixmaps
};

// The word the server stores for one picture pixel.
std::uint32_t ServerPixel(std::uint32_t rgb, PixelFormat format);

}  // namespace pelmo::ui::qt
