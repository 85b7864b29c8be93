#pragma once

#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QWindow>
#include <cstdint>
#include <functional>
#include <unordered_map>

#include "engine/scene.h"
#include "ui/compositor.h"

struct xcb_connection_t;

namespace pelmo::ui::qt {

// What a sprite window reports of the pointer. Handlers left empty ignore that event.
struct PointerHandlers {
  std::function<void(engine::MouseButton)> press;
  std::function<void()> release;
  std::function<void()> doubleClick;  // a left double-click, in place of its second press
};

// One sprite window on X11: an override-redirect top-level window (placed exactly,
// even off-screen, with no taskbar button and no window-manager frame) shaped by
// the colour key, so blue pixels are neither drawn nor clickable.
//
// Each frame the compositor hands out is uploaded to the X server once, as a pixmap with its
// shape; showing it again is a few small requests and the server paints the
// window from that pixmap by itself. An animation flips between a few frames,
// so a tick costs about what moving the window costs: one batch of requests,
// and no events come back but the pointer's.
class SpriteWindow : public QWindow {
 public:
  SpriteWindow();
  ~SpriteWindow() override;

  void SetPointerHandlers(PointerHandlers handlers) { handlers_ = std::move(handlers); }

  // Shows, hides, moves or repaints the window as the presentation asks.
  void Present(const Presentation& presentation);

  // Moves the window with the pointer, keeping the grab offset, until the
  // button is released; then reports how far it moved.
  void FollowPointerUntilRelease(std::function<void(QPoint moved)> done);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  struct Frame {
    std::uint32_t pixmap = 0;  // server-side copy of the pixels
    QRegion shape;             // the non-blue pixels
  };

  const Frame& FrameFor(std::uint64_t key, const Picture& buffer);
  void Upload(std::uint32_t pixmap, const Picture& buffer);
  void ForgetFrames();
  void MoveTo(QRect rect);
  void StopEchoes();
  bool IsSecondClick(const QMouseEvent& event);
  void FinishFollowing();

  xcb_connection_t* connection_;
  std::uint8_t depth_;
  PointerHandlers handlers_;
  std::unordered_map<std::uint64_t, Frame> frames_;
  std::uint64_t frameId_ = 0;  // the frame shown; the compositor never hands out 0
  bool empty_ = false;         // all key blue: nothing to show
  QRect rect_;                 // where the window was last put

  ulong lastPressTime_ = 0;
  QPoint lastPressPos_;
  bool lastPressCounted_ = false;  // the last press may pair with the next one

  bool following_ = false;
  QPoint followOffset_;
  QPoint followStart_;
  std::function<void(QPoint)> followDone_;
};

}  // namespace pelmo::ui::qt
