#pragma once

#include <QPoint>
#include <QRect>
#include <QWindow>
#include <cstdint>
#include <functional>
#include <unordered_map>
#include <vector>

#include "engine/scene.h"
#include "ui/compositor.h"

struct xcb_connection_t;
struct xcb_rectangle_t;

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
// Each frame the compositor hands out is uploaded to the X server once, as a
// pixmap with its shape; showing it again is a few small requests. The window is
// a stage a little larger than the sprite, and the sprite moves within it by
// moving its shape: on an X server without a compositing manager every change of
// a window's shape or place repaints what it uncovers, and moving the window as
// well as reshaping it would do that twice per tick. The stage follows when the
// sprite reaches its edge. A tick is one batch of requests, and no events come
// back but the pointer's.
class SpriteWindow : public QWindow {
 public:
  // Whether the pointer's motion over the window is of any use: only a window the
  // user can carry with the pointer needs it.
  enum class Motion { Ignored, Followed };

  explicit SpriteWindow(Motion motion);
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
    std::uint32_t pixmap = 0;            // server-side copy of the pixels
    QSize size;                          // of the pixmap
    std::vector<xcb_rectangle_t> shape;  // the non-blue pixels, in y-x bands
  };

  const Frame& FrameFor(std::uint64_t key, const Picture& buffer);
  void Upload(std::uint32_t pixmap, const Picture& buffer);
  void ForgetFrames();
  void Draw(QRect sprite);
  void Restage(QRect sprite);
  void StopEchoes(Motion motion);
  void SelectPointerEvents(Motion motion);
  bool IsSecondClick(const QMouseEvent& event);
  void FinishFollowing();

  xcb_connection_t* connection_;
  std::uint8_t depth_;
  PointerHandlers handlers_;
  std::uint32_t gc_ = 0;  // for copying frames, which have the window's depth
  std::unordered_map<std::uint64_t, Frame> frames_;
  std::size_t cachedBytes_ = 0;    // of the frames' pixmaps
  std::uint64_t frameId_ = 0;      // the frame shown; the compositor never hands out 0
  bool empty_ = false;             // all key blue: nothing to show
  QRect rect_;                     // where the sprite was last put, on the screen
  QRect stage_;                    // where the window is, on the screen
  std::uint32_t stagePixmap_ = 0;  // the window's background: the sprite where it stands

  ulong lastPressTime_ = 0;
  QPoint lastPressPos_;
  bool lastPressCounted_ = false;  // the last press may pair with the next one

  bool following_ = false;
  QPoint followOffset_;
  QPoint followStart_;
  std::function<void(QPoint)> followDone_;
};

}  // namespace pelmo::ui::qt
