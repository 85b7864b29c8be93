#include "ui/qt/pointer_grab.h"

#include <xcb/xinput.h>

#include <cstdlib>
#include <utility>

namespace pelmo::ui::qt {

namespace {

constexpr std::uint32_t kButtonsOnly =
    XCB_INPUT_XI_EVENT_MASK_BUTTON_PRESS | XCB_INPUT_XI_EVENT_MASK_BUTTON_RELEASE;

// The pointer that this program's presses come from.
std::optional<std::uint16_t> ClientPointer(xcb_connection_t* connection) {
  xcb_input_xi_get_client_pointer_reply_t* reply = xcb_input_xi_get_client_pointer_reply(
      connection, xcb_input_xi_get_client_pointer(connection, XCB_NONE), nullptr);
  if (reply == nullptr) return std::nullopt;
  const std::uint16_t device = reply->deviceid;
  std::free(reply);
  return device;
}

}  // namespace

PointerGrab::PointerGrab(xcb_connection_t* connection) : connection_(connection) {
  const xcb_query_extension_reply_t* xinput = xcb_get_extension_data(connection_, &xcb_input_id);
  xinput_ = xinput != nullptr && xinput->present;
}

PointerGrab::~PointerGrab() {
  Release();
}

// The press has the server hold the pointer for the window already, in the
// same kind of grab (XInput's where Qt took the press through XInput); a grab of
// another kind would be refused while that hold lasts. Taking it over keeps
// the events to the window, away from the program's other windows the pointer
// may pass, and past the moment a second button is let go.
void PointerGrab::Take(xcb_window_t window) {
  if (xinput_) {
    device_ = ClientPointer(connection_);
    if (!device_) return;
    xcb_input_xi_grab_device_reply_t* reply = xcb_input_xi_grab_device_reply(
        connection_,
        xcb_input_xi_grab_device(connection_, window, XCB_CURRENT_TIME, XCB_NONE, *device_,
                                 XCB_INPUT_GRAB_MODE_22_ASYNC, XCB_INPUT_GRAB_MODE_22_ASYNC,
                                 XCB_INPUT_GRAB_OWNER_NO_OWNER, 1, &kButtonsOnly),
        nullptr);
    held_ = reply != nullptr && reply->status == XCB_GRAB_STATUS_SUCCESS;
    std::free(reply);
    return;
  }
  constexpr std::uint16_t kCoreButtons =
      XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE;
  xcb_grab_pointer_reply_t* reply = xcb_grab_pointer_reply(
      connection_,
      xcb_grab_pointer(connection_, 0, window, kCoreButtons, XCB_GRAB_MODE_ASYNC,
                       XCB_GRAB_MODE_ASYNC, XCB_NONE, XCB_NONE, XCB_CURRENT_TIME),
      nullptr);
  held_ = reply != nullptr && reply->status == XCB_GRAB_STATUS_SUCCESS;
  std::free(reply);
}

void PointerGrab::Release() {
  if (!std::exchange(held_, false)) return;
  if (xinput_) {
    xcb_input_xi_ungrab_device(connection_, XCB_CURRENT_TIME, *device_);
  } else {
    xcb_ungrab_pointer(connection_, XCB_CURRENT_TIME);
  }
  xcb_flush(connection_);
}

}  // namespace pelmo::ui::qt
