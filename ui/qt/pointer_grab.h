#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <optional>

namespace pelmo::ui::qt {

// The pointer while the mascot is held: the program's own grab, for the
// buttons alone, so that the release reaches the mascot wherever it happens.
// The grab Qt would make asks for every motion as well, and each of them woke
// the program between ticks; the tick asks for the position once instead, as
// the walk does when it looks for the pointer.
class PointerGrab {
 public:
  explicit PointerGrab(xcb_connection_t* connection);
  ~PointerGrab();
  PointerGrab(const PointerGrab&) = delete;
  PointerGrab& operator=(const PointerGrab&) = delete;

  // Refused, and nothing held, while another program holds a grab.
  void Take(xcb_window_t window);
  void Release();

 private:
  xcb_connection_t* connection_;
  bool xinput_ = false;  // whether the server has XInput, through which Qt hears the buttons
  std::optional<std::uint16_t> device_;  // the pointer grabbed through XInput
  bool held_ = false;
};

}  // namespace pelmo::ui::qt
