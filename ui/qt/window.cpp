#include "ui/qt/window.h"

#include <xcb/shape.h>
#include <xcb/xcb.h>
#include <xcb/xinput.h>

#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QStyleHints>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <vector>

#include "ui/key_shape.h"

namespace pelmo::ui::qt {

namespace {

// The rain episode stretches its picture to a new size on every tick, up to
// megabytes a frame; past this many distinct frames, or this many bytes of them
// held by the X server, the cache starts afresh instead of growing.
constexpr std::size_t kMaxCachedFrames = 64;
constexpr std::size_t kMaxCachedBytes = 16u << 20;

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

// Room around the sprite in which it moves before the window has to follow.
constexpr int kStageMargin = 64;

// The window around a sprite that had to leave it: centred on the sprite, except
// along an axis the sprite is moving on, where the room is put ahead of it. A
// walk of a few pixels per tick then moves the window about once in forty ticks.
QRect StageAround(QRect sprite, QPoint motion) {
  QRect stage = sprite.adjusted(-kStageMargin, -kStageMargin, kStageMargin, kStageMargin);
  const int ahead = kStageMargin - 8;
  const auto sign = [](int v) { return (v > 0) - (v < 0); };
  return stage.translated(sign(motion.x()) * ahead, sign(motion.y()) * ahead);
}

std::vector<xcb_rectangle_t> ShapeOf(const Picture& picture) {
  std::vector<xcb_rectangle_t> shape;
  for (const ScreenRect& r : KeyShape(picture))
    shape.push_back({static_cast<std::int16_t>(r.left), static_cast<std::int16_t>(r.top),
                     static_cast<std::uint16_t>(r.width), static_cast<std::uint16_t>(r.height)});
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

void CheckShapes(xcb_connection_t* connection) {
  const xcb_query_extension_reply_t* shape = xcb_get_extension_data(connection, &xcb_shape_id);
  if (shape == nullptr || !shape->present)
    throw std::runtime_error("Pelmo needs a display with the X Shape extension.");
}

}  // namespace

SpriteWindow::SpriteWindow(Motion motion)
    : connection_(X11Connection()), depth_(CheckedDepth(connection_)) {
  CheckShapes(connection_);
  setFlags(Qt::Window | Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint |
           Qt::WindowDoesNotAcceptFocus | Qt::NoDropShadowWindowHint);
  create();
  StopEchoes(motion);
  SelectPointerEvents(motion);
  // Without graphics exposures: every copy would otherwise send back an event.
  gc_ = xcb_generate_id(connection_);
  const std::uint32_t noExposures = 0;
  xcb_create_gc(connection_, gc_, static_cast<xcb_window_t>(winId()), XCB_GC_GRAPHICS_EXPOSURES,
                &noExposures);
}

SpriteWindow::~SpriteWindow() {
  ForgetFrames();
  if (stagePixmap_ != 0) xcb_free_pixmap(connection_, stagePixmap_);
  xcb_free_gc(connection_, gc_);
}

void SpriteWindow::Present(const Presentation& presentation) {
  const ScreenRect& rect = presentation.rect;
  if (!presentation.visible || rect.width <= 0 || rect.height <= 0 ||
      presentation.buffer == nullptr) {
    hide();
    return;
  }
  QRect sprite(rect.left, rect.top, rect.width, rect.height);
  // While the pointer carries the window, it stays under the pointer.
  if (following_ && sprite.size() == rect_.size()) sprite = rect_;
  const bool newFrame = presentation.frameId != frameId_;
  if (newFrame) {
    empty_ = FrameFor(presentation.frameId, *presentation.buffer).shape.empty();
    frameId_ = presentation.frameId;
  }
  if (empty_) {
    // An empty shape would leave the window unshaped, showing the blue.
    hide();
    return;
  }
  if (newFrame || sprite != rect_ || !isVisible()) Draw(sprite);
  if (!isVisible()) show();
  // Qt writes out its requests only when it handles events, and this window
  // asks for none: without the flush a walk would reach the screen in bursts.
  xcb_flush(connection_);
}

// Puts the current frame at `sprite` on the screen: one change of shape, which
// repaints what the sprite uncovers, and the pixels copied in. The background
// becomes the same picture, so the server itself repaints the sprite when
// another window uncovers it; it is cleared first, so that the change of shape
// does not paint the newly shown pixels a first time from the old picture.
void SpriteWindow::Draw(QRect sprite) {
  const auto found = frames_.find(frameId_);
  if (found == frames_.end()) return;  // nothing presented yet
  const Frame& frame = found->second;
  if (!stage_.contains(sprite)) Restage(sprite);
  const QPoint at = sprite.topLeft() - stage_.topLeft();
  const auto x = static_cast<std::int16_t>(at.x());
  const auto y = static_cast<std::int16_t>(at.y());
  const auto width = static_cast<std::uint16_t>(frame.size.width());
  const auto height = static_cast<std::uint16_t>(frame.size.height());
  const auto window = static_cast<xcb_window_t>(winId());
  const std::uint32_t none = XCB_BACK_PIXMAP_NONE;
  xcb_change_window_attributes(connection_, window, XCB_CW_BACK_PIXMAP, &none);
  xcb_shape_rectangles(connection_, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_BOUNDING,
                       XCB_CLIP_ORDERING_YX_BANDED, window, x, y,
                       static_cast<std::uint32_t>(frame.shape.size()), frame.shape.data());
  xcb_copy_area(connection_, frame.pixmap, window, gc_, 0, 0, x, y, width, height);
  xcb_copy_area(connection_, frame.pixmap, stagePixmap_, gc_, 0, 0, x, y, width, height);
  xcb_change_window_attributes(connection_, window, XCB_CW_BACK_PIXMAP, &stagePixmap_);
  rect_ = sprite;
}

// The window is moved on the server directly: Qt would rewrite its size hints
// property on every move, and the server would echo each move back.
void SpriteWindow::Restage(QRect sprite) {
  const QPoint motion =
      sprite.size() == rect_.size() ? sprite.topLeft() - rect_.topLeft() : QPoint();
  const QRect stage = StageAround(sprite, motion);
  if (stage.size() != stage_.size()) {
    if (stagePixmap_ != 0) xcb_free_pixmap(connection_, stagePixmap_);
    stagePixmap_ = xcb_generate_id(connection_);
    xcb_create_pixmap(connection_, depth_, stagePixmap_, static_cast<xcb_window_t>(winId()),
                      static_cast<std::uint16_t>(stage.width()),
                      static_cast<std::uint16_t>(stage.height()));
  }
  const std::uint32_t values[] = {
      static_cast<std::uint32_t>(stage.x()), static_cast<std::uint32_t>(stage.y()),
      static_cast<std::uint32_t>(stage.width()), static_cast<std::uint32_t>(stage.height())};
  xcb_configure_window(connection_, static_cast<xcb_window_t>(winId()),
                       XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH |
                           XCB_CONFIG_WINDOW_HEIGHT,
                       values);
  stage_ = stage;
}

// A walking mascot moves and changes its picture ten times a second. Qt asks the
// server for the structure, exposure and property events of its windows, and
// answers every ConfigureNotify with a round trip for the window's position:
// several wake-ups of both processes per tick, for news about changes this
// window made itself. The server paints the background pixmap by itself and
// nothing here draws through Qt, so the window keeps only its input events; and
// of the pointer's, only the buttons unless the window follows the pointer, for
// a pointer passing over the mascot would wake the program at every step.
void SpriteWindow::StopEchoes(Motion motion) {
  const xcb_window_t window = static_cast<xcb_window_t>(winId());
  xcb_get_window_attributes_reply_t* attributes = xcb_get_window_attributes_reply(
      connection_, xcb_get_window_attributes(connection_, window), nullptr);
  if (attributes == nullptr) return;
  std::uint32_t unwanted =
      XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_PROPERTY_CHANGE;
  if (motion == Motion::Ignored)
    unwanted |= XCB_EVENT_MASK_POINTER_MOTION | XCB_EVENT_MASK_BUTTON_MOTION |
                XCB_EVENT_MASK_ENTER_WINDOW | XCB_EVENT_MASK_LEAVE_WINDOW;
  const std::uint32_t mask = attributes->your_event_mask & ~unwanted;
  std::free(attributes);
  xcb_change_window_attributes(connection_, window, XCB_CW_EVENT_MASK, &mask);
}

// Qt takes the pointer through XInput 2 where the server has it; its selection
// is narrowed the same way, and left alone where Qt made none.
void SpriteWindow::SelectPointerEvents(Motion motion) {
  if (motion == Motion::Followed) return;
  const xcb_window_t window = static_cast<xcb_window_t>(winId());
  const xcb_query_extension_reply_t* xinput = xcb_get_extension_data(connection_, &xcb_input_id);
  if (xinput == nullptr || !xinput->present) return;
  xcb_input_xi_get_selected_events_reply_t* selected = xcb_input_xi_get_selected_events_reply(
      connection_, xcb_input_xi_get_selected_events(connection_, window), nullptr);
  if (selected == nullptr) return;
  // The masks as they go over the wire: a header word, then the mask's words.
  static_assert(sizeof(xcb_input_event_mask_t) == sizeof(std::uint32_t));
  constexpr std::uint32_t kUnwanted = XCB_INPUT_XI_EVENT_MASK_MOTION |
                                      XCB_INPUT_XI_EVENT_MASK_ENTER | XCB_INPUT_XI_EVENT_MASK_LEAVE;
  std::vector<std::uint32_t> masks;
  bool narrowed = false;
  for (auto it = xcb_input_xi_get_selected_events_masks_iterator(selected); it.rem > 0;
       xcb_input_event_mask_next(&it)) {
    std::uint32_t header;
    std::memcpy(&header, it.data, sizeof header);
    masks.push_back(header);
    const std::uint32_t* words = xcb_input_event_mask_mask(it.data);
    masks.insert(masks.end(), words, words + it.data->mask_len);
    if (it.data->mask_len > 0) {
      std::uint32_t& first = masks[masks.size() - it.data->mask_len];
      narrowed |= (first & kUnwanted) != 0;
      first &= ~kUnwanted;
    }
  }
  const auto count = static_cast<std::uint16_t>(selected->num_masks);
  std::free(selected);
  if (narrowed)
    xcb_input_xi_select_events(connection_, window, count,
                               reinterpret_cast<const xcb_input_event_mask_t*>(masks.data()));
}

const SpriteWindow::Frame& SpriteWindow::FrameFor(std::uint64_t key, const Picture& buffer) {
  if (auto found = frames_.find(key); found != frames_.end()) return found->second;
  const std::size_t bytes = buffer.pixels.size() * sizeof(std::uint32_t);
  if (frames_.size() >= kMaxCachedFrames || cachedBytes_ + bytes > kMaxCachedBytes) ForgetFrames();
  cachedBytes_ += bytes;
  Frame frame;
  frame.size = QSize(buffer.width, buffer.height);
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

void SpriteWindow::ForgetFrames() {
  for (const auto& [key, frame] : frames_) xcb_free_pixmap(connection_, frame.pixmap);
  frames_.clear();
  cachedBytes_ = 0;
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
  Draw(QRect(QCursor::pos() - followOffset_, rect_.size()));
  xcb_flush(connection_);
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
