#pragma once

#include <QImage>
#include <QPoint>
#include <QRegion>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <unordered_map>

#include "engine/scene.h"
#include "ui/compositor.h"

namespace pelmo::ui::qt {

// What a sprite window reports of the pointer. Handlers left empty ignore that event.
struct PointerHandlers {
  std::function<void(engine::MouseButton)> press;
  std::function<void()> release;
  std::function<void()> doubleClick;  // a left double-click, in place of its second press
};

// One sprite window on X11: an override-redirect top-level widget (placed exactly,
// even off-screen, with no taskbar button and no window-manager frame) that shows
// the presented part of its window and is shaped by the colour key, so blue pixels
// are neither drawn nor clickable.
class SpriteWindow : public QWidget {
 public:
  explicit SpriteWindow(const QString& caption);

  void SetPointerHandlers(PointerHandlers handlers) { handlers_ = std::move(handlers); }

  // Shows, hides, moves or repaints the window as the presentation asks.
  void Present(const Presentation& presentation);

  // Moves the window with the pointer, keeping the grab offset, until the
  // button is released; then reports how far it moved.
  void FollowPointerUntilRelease(std::function<void(QPoint moved)> done);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  void TakePixels(const Picture& buffer);
  const QRegion& ShapeOf(std::uint64_t key, const QImage& image);
  void FinishFollowing();

  PointerHandlers handlers_;
  QImage image_;
  // Shapes of the frames seen so far, by content: an animation flips between a
  // few frames, and a shape costs far more to build than to look up.
  std::unordered_map<std::uint64_t, QRegion> shapes_;
  std::uint64_t shapeKey_ = 0;
  bool empty_ = false;  // all key blue: nothing to show

  bool following_ = false;
  QPoint followOffset_;
  QPoint followStart_;
  std::function<void(QPoint)> followDone_;
};

}  // namespace pelmo::ui::qt
