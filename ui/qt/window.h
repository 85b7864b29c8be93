#pragma once

#include <QPoint>
#include <QRect>
#include <QWindow>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "engine/scene.h"
#include "ui/compositor.h"
#include "ui/qt/server_frames.h"
#include "ui/qt/surface.h"

namespace pelmo::ui::qt {

// What a sprite window reports of the pointer. Handlers left empty ignore that event.
struct PointerHandlers {
  std::function<void(engine::MouseButton)> press;
  std::function<void()> release;
  std::function<void()> doubleClick;  // a left double-click, in place of its second press
};

// One sprite window on X11: an override-redirect top-level window (placed exactly,
// even off-screen, with no taskbar button and no window-manager frame) that shows
// the compositor's frames with the colour key cut away, so blue pixels are
// neither seen nor clickable.
//
// Each frame is uploaded to the X server once; showing it again is a few small
// requests. How it reaches the screen depends on whether a compositor draws the
// windows (see Surface); the window is made anew when that changes. A tick is
// one batch of requests, and no events come back but the pointer's.
class SpriteWindow : public QWindow {
 public:
  // Whether the pointer's motion over the window is of any use: only a window the
  // user can carry with the pointer needs it.
  enum class Motion { Ignored, Followed };

  SpriteWindow(Motion motion, bool composited);
  ~SpriteWindow() override;

  void SetPointerHandlers(PointerHandlers handlers) { handlers_ = std::move(handlers); }

  // Makes the window anew for a compositor that started or stopped, hidden
  // until it is presented again.
  void SetComposited(bool composited);
  // Shows, hides, moves or repaints the window as the presentation asks.
  void Present(const Presentation& presentation);

  // While the user carries the sprite, the program must hear of the pointer
  // anywhere in `area` (screen coordinates).
  void Hold(QRect area);
  void Release();

  // Moves the window with the pointer, keeping the grab offset, until the
  // button is released; then reports how far it moved.
  void FollowPointerUntilRelease(QRect area, std::function<void(QPoint moved)> done);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  void Build(bool composited);
  void Unbuild();
  void Draw(QRect sprite);
  void StopEchoes();
  void SelectPointerEvents();
  bool IsSecondClick(const QMouseEvent& event);
  void FinishFollowing();

  xcb_connection_t* connection_;
  Motion motion_;
  PointerHandlers handlers_;
  bool composited_ = false;  // asked for: the window shows through a compositor
  PixelFormat format_ = PixelFormat::Rgb24;
  std::uint32_t gc_ = 0;  // for copying frames, which have the window's depth
  std::unique_ptr<ServerFrames> frames_;
  std::unique_ptr<Surface> surface_;
  std::optional<QRect> held_;  // the area the pointer roams in while held
  std::uint64_t frameId_ = 0;  // the frame shown; the compositor never hands out 0
  bool empty_ = false;         // all key blue: nothing to show
  QRect rect_;                 // where the sprite was last put, on the screen

  ulong lastPressTime_ = 0;
  QPoint lastPressPos_;
  bool lastPressCounted_ = false;  // the last press may pair with the next one

  bool following_ = false;
  QPoint followOffset_;
  QPoint followStart_;
  std::function<void(QPoint)> followDone_;
};

}  // namespace pelmo::ui::qt
