#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <optional>

namespace pelmo::ui::qt {

// Where an X pointer event puts the pointer on the screen, and which event it is.
struct PointerReport {
  enum class Kind { Press, Motion, Release };
  Kind kind;
  std::int32_t x;  // root-window pixels
  std::int32_t y;
  std::uint32_t sequence;  // the last request the server had handled when it sent the event
};

// The pointer in a core or an XInput 2 (`xinputOpcode`, its major opcode) press,
// motion or release event; nothing for every other event.
std::optional<PointerReport> ReadPointerEvent(const xcb_generic_event_t& event,
                                              std::uint8_t xinputOpcode);

// Whether the server sent the event after it handled the request `sequence`.
bool SentSince(const PointerReport& report, std::uint32_t sequence);

}  // namespace pelmo::ui::qt
