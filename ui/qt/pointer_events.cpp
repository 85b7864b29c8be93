#include "ui/qt/pointer_events.h"

#include <xcb/xinput.h>

#include <cstring>

namespace pelmo::ui::qt {

namespace {

// XInput 2 gives the position in 16.16 fixed point; the server's own pointer,
// which a query would return, is its whole part (rounded down, also left of 0).
std::int32_t WholePixels(xcb_input_fp1616_t value) {
  return static_cast<std::int32_t>(value >> 16);
}

// libxcb hands every event out at least as large as xcb_generic_event_t, the
// full sequence number written after its first 32 bytes.
std::optional<PointerReport> ReadCore(const xcb_generic_event_t& event, PointerReport::Kind kind) {
  xcb_motion_notify_event_t motion;  // press and release share its layout
  std::memcpy(&motion, &event, sizeof motion);
  return PointerReport{kind, motion.root_x, motion.root_y, event.full_sequence};
}

std::optional<PointerReport> ReadXInput(const xcb_generic_event_t& event, std::uint8_t opcode) {
  xcb_ge_generic_event_t header;
  std::memcpy(&header, &event, sizeof header);
  if (header.extension != opcode) return std::nullopt;
  PointerReport::Kind kind;
  switch (header.event_type) {
    case XCB_INPUT_BUTTON_PRESS:
      kind = PointerReport::Kind::Press;
      break;
    case XCB_INPUT_MOTION:
      kind = PointerReport::Kind::Motion;
      break;
    case XCB_INPUT_BUTTON_RELEASE:
      kind = PointerReport::Kind::Release;
      break;
    default:
      return std::nullopt;
  }
  // A generic event's own fields run on past the 32 bytes, with the full
  // sequence number in between at the same place as in every other event.
  xcb_input_button_press_event_t device;  // motion and release share its layout
  std::memcpy(&device, &event, sizeof device);
  return PointerReport{kind, WholePixels(device.root_x), WholePixels(device.root_y),
                       device.full_sequence};
}

}  // namespace

std::optional<PointerReport> ReadPointerEvent(const xcb_generic_event_t& event,
                                              std::uint8_t xinputOpcode) {
  switch (event.response_type & 0x7f) {  // the top bit marks an event sent by a client
    case XCB_BUTTON_PRESS:
      return ReadCore(event, PointerReport::Kind::Press);
    case XCB_MOTION_NOTIFY:
      return ReadCore(event, PointerReport::Kind::Motion);
    case XCB_BUTTON_RELEASE:
      return ReadCore(event, PointerReport::Kind::Release);
    case XCB_GE_GENERIC:
      return ReadXInput(event, xinputOpcode);
    default:
      return std::nullopt;
  }
}

// Sequence numbers wrap around; one sent since is less than half the range on.
bool SentSince(const PointerReport& report, std::uint32_t sequence) {
  return report.sequence - sequence < 0x80000000u;
}

}  // namespace pelmo::ui::qt
