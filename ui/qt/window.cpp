#include "ui/qt/window.h"

#include <QBitmap>
#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <optional>

namespace pelmo::ui::qt {

namespace {

// The rain episode stretches its picture to a new size on every tick; past this
// many distinct frames the cache starts afresh instead of growing.
constexpr std::size_t kMaxCachedShapes = 64;

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

// FNV-1a over the size and the pixels.
std::uint64_t ContentKey(const QImage& image) {
  std::uint64_t hash = 14695981039346656037ull;
  auto mix = [&hash](std::uint32_t value) {
    hash ^= value;
    hash *= 1099511628211ull;
  };
  mix(static_cast<std::uint32_t>(image.width()));
  mix(static_cast<std::uint32_t>(image.height()));
  for (int y = 0; y < image.height(); ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) mix(row[x]);
  }
  return hash;
}

}  // namespace

SpriteWindow::SpriteWindow(const QString& caption)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint |
                           Qt::NoDropShadowWindowHint) {
  setWindowTitle(caption);
  // Every pixel is painted from the buffer, so Qt need not clear the background first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  setAttribute(Qt::WA_ShowWithoutActivating);
}

void SpriteWindow::Present(const Presentation& presentation) {
  const ScreenRect& rect = presentation.rect;
  if (!presentation.visible || rect.width <= 0 || rect.height <= 0 ||
      presentation.buffer == nullptr) {
    hide();
    return;
  }
  if (presentation.pixelsChanged || image_.isNull()) {
    TakePixels(*presentation.buffer);
    const std::uint64_t key = ContentKey(image_);
    if (key != shapeKey_) {
      const QRegion& shape = ShapeOf(key, image_);
      shapeKey_ = key;
      // Qt reads an empty mask as "no mask", which would show the blue.
      empty_ = shape.isEmpty();
      if (!empty_) setMask(shape);
    }
    update();
  }
  if (empty_) {
    hide();
    return;
  }
  const QRect wanted(rect.left, rect.top, rect.width, rect.height);
  if (wanted.size() != size()) {
    setGeometry(wanted);
  } else if (wanted.topLeft() != pos() && !following_) {
    move(wanted.topLeft());
  }
  if (!isVisible()) show();
}

void SpriteWindow::TakePixels(const Picture& buffer) {
  if (image_.width() != buffer.width || image_.height() != buffer.height)
    image_ = QImage(buffer.width, buffer.height, QImage::Format_RGB32);
  for (std::int32_t y = 0; y < buffer.height; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(image_.scanLine(y));
    const std::uint32_t* source = buffer.pixels.data() + static_cast<std::size_t>(y) * buffer.width;
    // The buffer leaves the top byte zero; QImage compares whole words.
    for (std::int32_t x = 0; x < buffer.width; ++x) row[x] = source[x] | 0xFF000000u;
  }
}

const QRegion& SpriteWindow::ShapeOf(std::uint64_t key, const QImage& image) {
  auto found = shapes_.find(key);
  if (found != shapes_.end()) return found->second;
  if (shapes_.size() >= kMaxCachedShapes) shapes_.clear();
  // The mask image marks the key-blue pixels, and a QBitmap reads a marked pixel
  // as clear, so the region holds exactly what is drawn (MaskOutColor inverts it).
  const QBitmap bitmap =
      QBitmap::fromImage(image.createMaskFromColor(qRgb(0, 0, 255), Qt::MaskInColor));
  return shapes_.emplace(key, QRegion(bitmap)).first->second;
}

void SpriteWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(0, 0, image_);
}

void SpriteWindow::mousePressEvent(QMouseEvent* event) {
  const auto button = EngineButton(event->button());
  if (button && handlers_.press) handlers_.press(*button);
}

void SpriteWindow::mouseReleaseEvent(QMouseEvent*) {
  if (following_) {
    FinishFollowing();
    return;
  }
  if (handlers_.release) handlers_.release();
}

// Qt delivers the second press of a double-click here instead of as a press.
void SpriteWindow::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && handlers_.doubleClick) {
    handlers_.doubleClick();
    return;
  }
  mousePressEvent(event);
}

void SpriteWindow::mouseMoveEvent(QMouseEvent* event) {
  if (following_) move(event->globalPosition().toPoint() - followOffset_);
}

void SpriteWindow::FollowPointerUntilRelease(std::function<void(QPoint)> done) {
  followDone_ = std::move(done);
  followStart_ = pos();
  followOffset_ = QCursor::pos() - pos();
  following_ = true;
  // A press so short that it was over before we got here leaves nothing to follow.
  if (QGuiApplication::mouseButtons() == Qt::NoButton) FinishFollowing();
}

void SpriteWindow::FinishFollowing() {
  following_ = false;
  if (followDone_) std::exchange(followDone_, nullptr)(pos() - followStart_);
}

}  // namespace pelmo::ui::qt
