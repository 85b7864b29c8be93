#pragma once

#include <xcb/xcb.h>

#include <QAbstractNativeEventFilter>
#include <QPoint>
#include <cstdint>
#include <optional>

namespace pelmo::ui::qt {

// Where the pointer is while the mascot is held, from the events of the grab
// itself: a tick reads the last of them instead of asking the server, which
// would cost a round trip on every tick of the drag. The motion is taken out
// of Qt's hands too, for nothing in the program looks at it while the mascot
// is held; Qt would otherwise make a mouse event of each and deliver it.
class PointerTrail : public QAbstractNativeEventFilter {
 public:
  explicit PointerTrail(xcb_connection_t* connection);
  ~PointerTrail() override;
  PointerTrail(const PointerTrail&) = delete;
  PointerTrail& operator=(const PointerTrail&) = delete;

  // Once the program holds the pointer's grab: only motion from then on is
  // reported to it, so the pointer is asked once where it starts.
  void Follow();
  void Stop();

  // The pointer on the screen while followed.
  std::optional<QPoint> Position() const;

  bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

 private:
  xcb_connection_t* connection_;
  std::uint8_t xinputOpcode_ = 0;  // none where the server lacks XInput
  bool following_ = false;
  std::uint32_t asked_ = 0;  // the query that gave the start
  QPoint position_;
};

}  // namespace pelmo::ui::qt
