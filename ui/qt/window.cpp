#include "ui/qt/window.h"

#include <xcb/xcb.h>

#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QStyleHints>
#include <algorithm>
#include <cstdlib>
#include <optional>
#include <stdexcept>
#include <vector>

namespace pelmo::ui::qt {

namespace {

// The rain episode stretches its picture to a new size on every tick; past this
// many distinct frames the cache starts afresh instead of growing.
constexpr std::size_t kMaxCachedFrames = 64;

std::optional<engine::MouseButton> EngineButton(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton:
      return engine::MouseButton::Left;
    case Qt::RightButton:
      return engine::MouseButton::Right;
    case Qt::MiddleButton:
      return engine::MouseButton::Middle;
    default:
      return std::nullopt;
  }
}

// The drawn pixels as rectangles: runs of non-blue pixels, a run repeated on
// consecutive rows merged into one taller rectangle.
QRegion ShapeOf(const Picture& picture) {
  QRegion shape;
  std::vector<QRect> rects;
  std::vector<QRect> open;  // runs of the previous row, still growing downward
  for (std::int32_t y = 0; y < picture.height; ++y) {
    std::vector<QRect> runs;
    for (std::int32_t x = 0; x < picture.width;) {
      if (picture.At(x, y) == kKeyBlue) {
        ++x;
        continue;
      }
      const std::int32_t start = x;
      while (x < picture.width && picture.At(x, y) != kKeyBlue) ++x;
      runs.emplace_back(start, y, x - start, 1);
    }
    std::vector<QRect> next;
    for (QRect run : runs) {
      auto same = std::find_if(open.begin(), open.end(), [&run](const QRect& r) {
        return r.left() == run.left() && r.width() == run.width();
      });
      if (same != open.end()) {
        run = QRect(same->left(), same->top(), same->width(), same->height() + 1);
        open.erase(same);
      }
      next.push_back(run);
    }
    rects.insert(rects.end(), open.begin(), open.end());
    open = std::move(next);
  }
  rects.insert(rects.end(), open.begin(), open.end());
  shape.setRects(rects.data(), static_cast<int>(rects.size()));
  return shape;
}

xcb_connection_t* X11Connection() {
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (x11 == nullptr) throw std::runtime_error("Pelmo needs an X11 display.");
  return x11->connection();
}

// Pixels go up as 32-bit words in the server's byte order: 0x00RRGGBB is what a
// 24-bit TrueColor visual holds.
std::uint8_t CheckedDepth(xcb_connection_t* connection) {
  const xcb_setup_t* setup = xcb_get_setup(connection);
  const xcb_screen_t* screen = xcb_setup_roots_iterator(setup).data;
  for (auto it = xcb_setup_pixmap_formats_iterator(setup); it.rem > 0; xcb_format_next(&it)) {
    if (it.data->depth == screen->root_depth && it.data->bits_per_pixel == 32 &&
        screen->root_depth >= 24)
      return screen->root_depth;
  }
  throw std::runtime_error("Pelmo needs a display with 24-bit colour.");
}

}  // namespace

SpriteWindow::SpriteWindow() : connection_(X11Connection()), depth_(CheckedDepth(connection_)) {
  setFlags(Qt::Window | Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint |
           Qt::WindowDoesNotAcceptFocus | Qt::NoDropShadowWindowHint);
  create();
  StopEchoes();
}

SpriteWindow::~SpriteWindow() {
  ForgetFrames();
}

void SpriteWindow::Present(const Presentation& presentation) {
  const ScreenRect& rect = presentation.rect;
  if (!presentation.visible || rect.width <= 0 || rect.height <= 0 ||
      presentation.buffer == nullptr) {
    hide();
    return;
  }
  const QRect wanted(rect.left, rect.top, rect.width, rect.height);
  if (wanted != rect_ && !(following_ && wanted.size() == rect_.size())) MoveTo(wanted);
  if (presentation.frameId != frameId_) {
    const Frame& frame = FrameFor(presentation.frameId, *presentation.buffer);
    frameId_ = presentation.frameId;
    // Qt reads an empty mask as "no mask", which would show the blue.
    empty_ = frame.shape.isEmpty();
    if (!empty_) {
      setMask(frame.shape);
      const std::uint32_t background = frame.pixmap;
      xcb_change_window_attributes(connection_, static_cast<xcb_window_t>(winId()),
                                   XCB_CW_BACK_PIXMAP, &background);
      xcb_clear_area(connection_, 0, static_cast<xcb_window_t>(winId()), 0, 0, 0, 0);
    }
  }
  if (empty_) {
    hide();
  } else if (!isVisible()) {
    show();
  }
  // Qt writes out its requests only when it handles events, and this window
  // asks for none: without the flush a walk would reach the screen in bursts.
  xcb_flush(connection_);
}

// The window is moved on the server directly: Qt would rewrite its size hints
// property on every move, and the server would echo each move back.
void SpriteWindow::MoveTo(QRect rect) {
  const bool resized = rect.size() != rect_.size();
  const std::uint32_t values[] = {
      static_cast<std::uint32_t>(rect.x()), static_cast<std::uint32_t>(rect.y()),
      static_cast<std::uint32_t>(rect.width()), static_cast<std::uint32_t>(rect.height())};
  std::uint16_t mask = XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y;
  if (resized) mask |= XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT;
  xcb_configure_window(connection_, static_cast<xcb_window_t>(winId()), mask, values);
  rect_ = rect;
}

// A walking mascot moves and changes its picture ten times a second. Qt asks the
// server for the structure, exposure and property events of its windows, and
// answers every ConfigureNotify with a round trip for the window's position:
// several wake-ups of both processes per tick, for news about changes this
// window made itself. The server paints the background pixmap by itself and
// nothing here draws through Qt, so the window keeps only its input events.
void SpriteWindow::StopEchoes() {
  const xcb_window_t window = static_cast<xcb_window_t>(winId());
  xcb_get_window_attributes_reply_t* attributes = xcb_get_window_attributes_reply(
      connection_, xcb_get_window_attributes(connection_, window), nullptr);
  if (attributes == nullptr) return;
  const std::uint32_t echoes =
      XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_PROPERTY_CHANGE;
  const std::uint32_t mask = attributes->your_event_mask & ~echoes;
  std::free(attributes);
  xcb_change_window_attributes(connection_, window, XCB_CW_EVENT_MASK, &mask);
}

const SpriteWindow::Frame& SpriteWindow::FrameFor(std::uint64_t key, const Picture& buffer) {
  if (auto found = frames_.find(key); found != frames_.end()) return found->second;
  if (frames_.size() >= kMaxCachedFrames) ForgetFrames();
  Frame frame;
  frame.pixmap = xcb_generate_id(connection_);
  xcb_create_pixmap(connection_, depth_, frame.pixmap, static_cast<xcb_window_t>(winId()),
                    static_cast<std::uint16_t>(buffer.width),
                    static_cast<std::uint16_t>(buffer.height));
  Upload(frame.pixmap, buffer);
  frame.shape = ShapeOf(buffer);
  return frames_.emplace(key, std::move(frame)).first->second;
}

// In bands of rows that fit the server's largest request.
void SpriteWindow::Upload(std::uint32_t pixmap, const Picture& buffer) {
  const xcb_gcontext_t gc = xcb_generate_id(connection_);
  xcb_create_gc(connection_, gc, pixmap, 0, nullptr);
  const std::size_t rowBytes = static_cast<std::size_t>(buffer.width) * 4;
  const std::size_t maxBytes = xcb_get_maximum_request_length(connection_) * 4 - 64;
  const std::int32_t band =
      std::max<std::int32_t>(1, static_cast<std::int32_t>(maxBytes / rowBytes));
  const bool swap = xcb_get_setup(connection_)->image_byte_order == XCB_IMAGE_ORDER_MSB_FIRST;
  std::vector<std::uint32_t> swapped;
  for (std::int32_t top = 0; top < buffer.height; top += band) {
    const std::int32_t rows = std::min(band, buffer.height - top);
    const std::uint32_t* data = buffer.pixels.data() + static_cast<std::size_t>(top) *
                                                           static_cast<std::size_t>(buffer.width);
    const std::size_t count =
        static_cast<std::size_t>(rows) * static_cast<std::size_t>(buffer.width);
    if (swap) {
      swapped.assign(data, data + count);
      for (std::uint32_t& word : swapped) word = __builtin_bswap32(word);
      data = swapped.data();
    }
    xcb_put_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, pixmap, gc,
                  static_cast<std::uint16_t>(buffer.width), static_cast<std::uint16_t>(rows), 0,
                  static_cast<std::int16_t>(top), 0, depth_, static_cast<std::uint32_t>(count * 4),
                  reinterpret_cast<const std::uint8_t*>(data));
  }
  xcb_free_gc(connection_, gc);
}

// The server keeps a pixmap that is still a window's background until it is replaced.
void SpriteWindow::ForgetFrames() {
  for (const auto& [key, frame] : frames_) xcb_free_pixmap(connection_, frame.pixmap);
  frames_.clear();
}

// Qt reports the second press of a double-click as a press and only then as a
// double-click; the engine must hear the double-click first, so it is told apart
// here by Qt's own interval and distance.
bool SpriteWindow::IsSecondClick(const QMouseEvent& event) {
  const QPoint at = event.globalPosition().toPoint();
  const QStyleHints* hints = QGuiApplication::styleHints();
  const bool second =
      lastPressCounted_ &&
      event.timestamp() - lastPressTime_ < static_cast<ulong>(hints->mouseDoubleClickInterval()) &&
      (at - lastPressPos_).manhattanLength() <= hints->mouseDoubleClickDistance();
  lastPressTime_ = event.timestamp();
  lastPressPos_ = at;
  lastPressCounted_ = !second;  // a third press starts a new pair
  return second;
}

void SpriteWindow::mousePressEvent(QMouseEvent* event) {
  const auto button = EngineButton(event->button());
  if (!button) return;
  const bool left = event->button() == Qt::LeftButton;
  const bool secondClick = IsSecondClick(*event) && left;
  if (!left) lastPressCounted_ = false;
  if (secondClick && handlers_.doubleClick) {
    handlers_.doubleClick();
  } else if (handlers_.press) {
    handlers_.press(*button);
  }
}

void SpriteWindow::mouseReleaseEvent(QMouseEvent*) {
  if (following_) {
    FinishFollowing();
    return;
  }
  if (handlers_.release) handlers_.release();
}

// The pointer is asked afresh: Qt derives an event's global position from where
// it last heard the window was, which lags behind a window moving under the pointer.
void SpriteWindow::mouseMoveEvent(QMouseEvent*) {
  if (!following_) return;
  MoveTo(QRect(QCursor::pos() - followOffset_, rect_.size()));
}

void SpriteWindow::FollowPointerUntilRelease(std::function<void(QPoint)> done) {
  followDone_ = std::move(done);
  followStart_ = rect_.topLeft();
  followOffset_ = QCursor::pos() - rect_.topLeft();
  following_ = true;
  // A press so short that it was over before we got here leaves nothing to follow.
  if (QGuiApplication::mouseButtons() == Qt::NoButton) FinishFollowing();
}

void SpriteWindow::FinishFollowing() {
  following_ = false;
  if (followDone_) std::exchange(followDone_, nullptr)(rect_.topLeft() - followStart_);
}

}  // namespace pelmo::ui::qt
