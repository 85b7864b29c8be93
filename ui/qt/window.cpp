#include "ui/qt/window.h"

#include <xcb/shape.h>
#include <xcb/xcb.h>
#include <xcb/xinput.h>

#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QStyleHints>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "ui/qt/argb_surface.h"
#include "ui/qt/shaped_surface.h"

namespace pelmo::ui::qt {

namespace {

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

xcb_connection_t* X11Connection() {
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (x11 == nullptr) throw std::runtime_error("Pelmo needs an X11 display.");
  return x11->connection();
}

void CheckShapes(xcb_connection_t* connection) {
  const xcb_query_extension_reply_t* shape = xcb_get_extension_data(connection, &xcb_shape_id);
  if (shape == nullptr || !shape->present)
    throw std::runtime_error("Pelmo needs a display with the X Shape extension.");
}

// Pixels go up as 32-bit words: a depth the server stores that way.
bool StoresAsWords(xcb_connection_t* connection, std::uint8_t depth) {
  const xcb_setup_t* setup = xcb_get_setup(connection);
  for (auto it = xcb_setup_pixmap_formats_iterator(setup); it.rem > 0; xcb_format_next(&it))
    if (it.data->depth == depth && it.data->bits_per_pixel == 32) return true;
  return false;
}

std::uint8_t WindowDepth(xcb_connection_t* connection, xcb_window_t window) {
  xcb_get_geometry_reply_t* geometry =
      xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr);
  const std::uint8_t depth = geometry != nullptr ? geometry->depth : 0;
  std::free(geometry);
  return depth;
}

}  // namespace

SpriteWindow::SpriteWindow(Motion motion, bool composited)
    : connection_(X11Connection()), motion_(motion) {
  CheckShapes(connection_);
  setFlags(Qt::Window | Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint |
           Qt::WindowDoesNotAcceptFocus | Qt::NoDropShadowWindowHint);
  Build(composited);
}

SpriteWindow::~SpriteWindow() {
  Unbuild();
}

// A compositor is given a 32-bit window where the server has such a visual; a
// window Qt could not give one falls back to the shape, which is still right
// wherever the compositor honours it.
void SpriteWindow::Build(bool composited) {
  composited_ = composited;
  QSurfaceFormat surfaceFormat = format();
  surfaceFormat.setAlphaBufferSize(composited ? 8 : -1);
  setFormat(surfaceFormat);
  create();
  const auto window = static_cast<xcb_window_t>(winId());
  const std::uint8_t depth = WindowDepth(connection_, window);
  if (composited && depth == 32 && StoresAsWords(connection_, 32)) {
    format_ = PixelFormat::Argb32;
  } else if (depth == 24 && StoresAsWords(connection_, 24)) {
    format_ = PixelFormat::Rgb24;
  } else {
    throw std::runtime_error("Pelmo needs a display with 24-bit colour.");
  }
  StopEchoes();
  SelectPointerEvents();
  // Without graphics exposures: every copy would otherwise send back an event.
  gc_ = xcb_generate_id(connection_);
  const std::uint32_t noExposures = 0;
  xcb_create_gc(connection_, gc_, window, XCB_GC_GRAPHICS_EXPOSURES, &noExposures);
  frames_ = std::make_unique<ServerFrames>(connection_, window, format_);
  const SurfaceTarget target{connection_, window, gc_, frames_->Depth()};
  if (format_ == PixelFormat::Argb32) {
    surface_ = std::make_unique<ArgbSurface>(target);
  } else {
    surface_ = std::make_unique<ShapedSurface>(target);
  }
  if (held_) surface_->Hold(*held_);
  frameId_ = 0;
  rect_ = QRect();
}

void SpriteWindow::Unbuild() {
  surface_.reset();
  frames_.reset();
  if (gc_ != 0) xcb_free_gc(connection_, std::exchange(gc_, 0));
  destroy();
}

void SpriteWindow::SetComposited(bool composited) {
  if (composited == composited_) return;
  Unbuild();
  Build(composited);
  xcb_flush(connection_);
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
    empty_ = frames_->Get(presentation.frameId, *presentation.buffer).shape.empty();
    frameId_ = presentation.frameId;
  }
  if (empty_) {
    // An empty shape would leave the window unshaped, showing the blue.
    hide();
    return;
  }
  const bool mapping = !isVisible();
  if (newFrame || sprite != rect_ || mapping) Draw(sprite);
  if (mapping) {
    show();
    // A window drawn by a compositor keeps no pixels while it is unmapped.
    if (format_ == PixelFormat::Argb32) Draw(sprite);
  }
  // Qt writes out its requests only when it handles events, and this window
  // asks for none: without the flush a walk would reach the screen in bursts.
  xcb_flush(connection_);
}

void SpriteWindow::Draw(QRect sprite) {
  const ServerFrame* frame = frames_->Find(frameId_);
  if (frame == nullptr) return;  // nothing presented yet
  surface_->Draw(*frame, sprite);
  rect_ = sprite;
}

// At once: the pointer may leave the sprite before the next tick, and a window
// left spanning the screen after the drag would take every click.
void SpriteWindow::Hold(QRect area) {
  held_ = area;
  surface_->Hold(area);
  if (isVisible()) Draw(rect_);
  xcb_flush(connection_);
}

void SpriteWindow::Release() {
  if (!std::exchange(held_, std::nullopt)) return;
  surface_->Release();
  if (isVisible()) Draw(rect_);
  xcb_flush(connection_);
}

// A walking mascot moves and changes its picture ten times a second. Qt asks the
// server for the structure, exposure and property events of its windows, and
// answers every ConfigureNotify with a round trip for the window's position:
// several wake-ups of both processes per tick, for news about changes this
// window made itself. The server paints the background pixmap by itself and
// nothing here draws through Qt, so the window keeps only its input events; and
// of the pointer's, only the buttons unless the window follows the pointer, for
// a pointer passing over the mascot would wake the program at every step.
void SpriteWindow::StopEchoes() {
  const xcb_window_t window = static_cast<xcb_window_t>(winId());
  xcb_get_window_attributes_reply_t* attributes = xcb_get_window_attributes_reply(
      connection_, xcb_get_window_attributes(connection_, window), nullptr);
  if (attributes == nullptr) return;
  std::uint32_t unwanted =
      XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_PROPERTY_CHANGE;
  if (motion_ == Motion::Ignored)
    unwanted |= XCB_EVENT_MASK_POINTER_MOTION | XCB_EVENT_MASK_BUTTON_MOTION |
                XCB_EVENT_MASK_ENTER_WINDOW | XCB_EVENT_MASK_LEAVE_WINDOW;
  const std::uint32_t mask = attributes->your_event_mask & ~unwanted;
  std::free(attributes);
  xcb_change_window_attributes(connection_, window, XCB_CW_EVENT_MASK, &mask);
}

// Qt takes the pointer through XInput 2 where the server has it; its selection
// is narrowed the same way, and left alone where Qt made none.
void SpriteWindow::SelectPointerEvents() {
  if (motion_ == Motion::Followed) return;
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

void SpriteWindow::FollowPointerUntilRelease(QRect area, std::function<void(QPoint)> done) {
  followDone_ = std::move(done);
  followStart_ = rect_.topLeft();
  followOffset_ = QCursor::pos() - rect_.topLeft();
  following_ = true;
  Hold(area);
  // A press so short that it was over before we got here leaves nothing to follow.
  if (QGuiApplication::mouseButtons() == Qt::NoButton) FinishFollowing();
}

void SpriteWindow::FinishFollowing() {
  following_ = false;
  Release();
  if (followDone_) std::exchange(followDone_, nullptr)(rect_.topLeft() - followStart_);
}

}  // namespace pelmo::ui::qt
