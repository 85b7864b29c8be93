#pragma once

#include <xcb/xcb.h>

#include <QPoint>
#include <optional>

namespace pelmo::ui::qt {

// Where the pointer is, asked over a connection of this program's own to the
// display Qt is on. On Qt's connection every reply comes in through Qt's event
// thread, which then hands it to the asking thread: two threads woken for one
// answer, ten times a second while the mascot is held. On a connection no
// other thread reads, the asking thread reads its answer itself.
class PointerQuery {
 public:
  // Without a connection of its own (none to be had, or one that reached
  // another display than Qt's), Position gives nothing and Qt is asked instead.
  explicit PointerQuery(xcb_connection_t* qt);
  ~PointerQuery();
  PointerQuery(const PointerQuery&) = delete;
  PointerQuery& operator=(const PointerQuery&) = delete;

  // In the screen's pixels; nothing once the connection has failed.
  std::optional<QPoint> Position();

 private:
  xcb_connection_t* own_ = nullptr;
  xcb_window_t root_ = XCB_NONE;
};

}  // namespace pelmo::ui::qt
