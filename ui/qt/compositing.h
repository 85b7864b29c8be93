#pragma once

#include <xcb/xcb.h>

#include <QAbstractNativeEventFilter>
#include <functional>

namespace pelmo::ui::qt {

// Whether a compositor draws the screen's windows from their own pixels: an X
// compositing manager holds the screen's _NET_WM_CM_S<n> selection, and under
// XWayland the Wayland compositor always does. Follows a compositing manager
// that starts or stops while the program runs, and reports each change.
class CompositingWatch : public QAbstractNativeEventFilter {
 public:
  CompositingWatch(xcb_connection_t* connection, std::function<void()> changed);
  ~CompositingWatch() override;
  CompositingWatch(const CompositingWatch&) = delete;
  CompositingWatch& operator=(const CompositingWatch&) = delete;

  bool Composited() const { return xwayland_ || managed_; }

  bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

 private:
  bool Managed() const;

  xcb_connection_t* connection_;
  std::function<void()> changed_;
  xcb_atom_t selection_ = XCB_ATOM_NONE;
  std::uint8_t selectionNotify_ = 0;  // the XFixes event's type; 0 when it is not followed
  bool xwayland_ = false;
  bool managed_ = false;
};

}  // namespace pelmo::ui::qt
