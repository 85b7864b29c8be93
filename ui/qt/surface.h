#pragma once

#include <xcb/xcb.h>

#include <QRect>

#include "ui/qt/server_frames.h"

namespace pelmo::ui::qt {

// How a sprite window's pixels reach the screen: the part of presenting that
// depends on whether a compositor draws the windows. The window itself only
// says which frame goes where.
class Surface {
 public:
  virtual ~Surface() = default;

  // Shows `frame` with its top-left corner at `sprite`, in screen coordinates;
  // the key blue is neither seen nor clickable.
  virtual void Draw(const ServerFrame& frame, QRect sprite) = 0;

  // While the user carries the sprite: the pointer must stay reported to the
  // program anywhere in `area`, in screen coordinates. Drawn anew with the
  // next Draw.
  virtual void Hold(QRect area) = 0;
  virtual void Release() = 0;
};

// What both kinds of surface draw with: the connection, the window, and a
// graphics context for copying frames into it.
struct SurfaceTarget {
  xcb_connection_t* connection;
  xcb_window_t window;
  xcb_gcontext_t gc;  // without graphics exposures
  std::uint8_t depth;
};

}  // namespace pelmo::ui::qt
