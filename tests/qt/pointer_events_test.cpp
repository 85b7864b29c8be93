#include "ui/qt/pointer_events.h"

#include <gtest/gtest.h>
#include <xcb/xinput.h>

#include <array>
#include <cstring>

namespace pelmo::ui::qt {
namespace {

constexpr std::uint8_t kXInput = 131;

// An event as libxcb hands it out: a generic event's fields run on past the
// first 32 bytes, the full sequence number written in between.
struct Buffer {
  alignas(8) std::array<unsigned char, 128> bytes{};
  const xcb_generic_event_t& Event() const {
    return *reinterpret_cast<const xcb_generic_event_t*>(bytes.data());
  }
};

Buffer XInputEvent(std::uint16_t type, xcb_input_fp1616_t x, xcb_input_fp1616_t y,
                   std::uint32_t sequence, std::uint8_t opcode = kXInput) {
  xcb_input_button_press_event_t event{};
  event.response_type = XCB_GE_GENERIC;
  event.extension = opcode;
  event.event_type = type;
  event.full_sequence = sequence;
  event.root_x = x;
  event.root_y = y;
  event.event_x = 1 << 16;  // the window's own coordinates must not be taken
  event.event_y = 2 << 16;
  Buffer buffer;
  std::memcpy(buffer.bytes.data(), &event, sizeof event);
  return buffer;
}

Buffer CoreEvent(std::uint8_t type, std::int16_t x, std::int16_t y, std::uint32_t sequence) {
  xcb_motion_notify_event_t event{};
  event.response_type = type;
  event.root_x = x;
  event.root_y = y;
  event.event_x = 1;
  event.event_y = 2;
  Buffer buffer;
  std::memcpy(buffer.bytes.data(), &event, sizeof event);
  xcb_generic_event_t generic;
  std::memcpy(&generic, buffer.bytes.data(), sizeof generic);
  generic.full_sequence = sequence;
  std::memcpy(buffer.bytes.data(), &generic, sizeof generic);
  return buffer;
}

TEST(PointerEvents, XInputEventsGiveTheRootPositionInWholePixels) {
  const auto motion = ReadPointerEvent(
      XInputEvent(XCB_INPUT_MOTION, (700 << 16) | 0xc000, (-3 * 65536) + 0x4000, 77).Event(),
      kXInput);
  ASSERT_TRUE(motion);
  EXPECT_EQ(motion->kind, PointerReport::Kind::Motion);
  EXPECT_EQ(motion->x, 700);
  EXPECT_EQ(motion->y, -3);  // left of and above the screen rounds down too
  EXPECT_EQ(motion->sequence, 77u);

  const auto press =
      ReadPointerEvent(XInputEvent(XCB_INPUT_BUTTON_PRESS, 5 << 16, 6 << 16, 1).Event(), kXInput);
  ASSERT_TRUE(press);
  EXPECT_EQ(press->kind, PointerReport::Kind::Press);
  const auto release =
      ReadPointerEvent(XInputEvent(XCB_INPUT_BUTTON_RELEASE, 5 << 16, 6 << 16, 1).Event(), kXInput);
  ASSERT_TRUE(release);
  EXPECT_EQ(release->kind, PointerReport::Kind::Release);
  EXPECT_EQ(release->x, 5);
  EXPECT_EQ(release->y, 6);
}

TEST(PointerEvents, CoreEventsAlsoThoseSentByAClient) {
  const auto motion = ReadPointerEvent(CoreEvent(XCB_MOTION_NOTIFY, -20, 900, 5).Event(), kXInput);
  ASSERT_TRUE(motion);
  EXPECT_EQ(motion->kind, PointerReport::Kind::Motion);
  EXPECT_EQ(motion->x, -20);
  EXPECT_EQ(motion->y, 900);
  EXPECT_EQ(motion->sequence, 5u);
  const auto sent = ReadPointerEvent(CoreEvent(XCB_BUTTON_PRESS | 0x80, 1, 2, 5).Event(), kXInput);
  ASSERT_TRUE(sent);
  EXPECT_EQ(sent->kind, PointerReport::Kind::Press);
}

TEST(PointerEvents, OtherEventsAndOtherExtensionsAreNotThePointer) {
  EXPECT_FALSE(ReadPointerEvent(CoreEvent(XCB_EXPOSE, 1, 2, 0).Event(), kXInput));
  EXPECT_FALSE(ReadPointerEvent(CoreEvent(XCB_KEY_PRESS, 1, 2, 0).Event(), kXInput));
  EXPECT_FALSE(ReadPointerEvent(XInputEvent(XCB_INPUT_ENTER, 0, 0, 0).Event(), kXInput));
  EXPECT_FALSE(ReadPointerEvent(XInputEvent(XCB_INPUT_KEY_PRESS, 0, 0, 0).Event(), kXInput));
  // Another extension's generic event with XInput's motion number.
  EXPECT_FALSE(
      ReadPointerEvent(XInputEvent(XCB_INPUT_MOTION, 0, 0, 0, kXInput + 1).Event(), kXInput));
}

TEST(PointerEvents, EventsSentBeforeAQueryAreOlderAcrossTheWrap) {
  const auto at = [](std::uint32_t sequence) {
    return PointerReport{PointerReport::Kind::Motion, 0, 0, sequence};
  };
  EXPECT_TRUE(SentSince(at(100), 100));  // sent once the query was answered
  EXPECT_TRUE(SentSince(at(101), 100));
  EXPECT_FALSE(SentSince(at(99), 100));
  EXPECT_TRUE(SentSince(at(3), 0xfffffff0u));
  EXPECT_FALSE(SentSince(at(0xfffffff0u), 3));
}

}  // namespace
}  // namespace pelmo::ui::qt
