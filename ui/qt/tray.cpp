#include "ui/qt/tray.h"

#include <QApplication>
#include <QBitmap>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <algorithm>
#include <cstring>

#include "engine/engine.h"
#include "ui/forms.h"

namespace pelmo::ui::qt {

namespace {

const QString kTip = QString::fromUtf8(kTitle.data(), static_cast<qsizetype>(kTitle.size()));
constexpr int kStatusSize = 40;
constexpr int kStatusMargin = 8;
constexpr int kIconSize = 32;  // the icon's own

// Qt's XEmbed tray icon is a widget of this class; the D-Bus one has no widget.
bool IsTrayIconWidget(const QObject* object) {
  return std::strcmp(object->metaObject()->className(), "QSystemTrayIconSys") == 0;
}

}  // namespace

// Placed by the program, not the window manager, which would frame it and put
// it in the middle of the screen: in the bottom-right corner of the work area,
// where a tray usually is, with only the icon's own face drawn.
StatusWindow::StatusWindow(const QIcon& icon, std::function<void(std::int32_t)> notify)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint |
                           Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus),
      icon_(icon),
      notify_(std::move(notify)) {
  // Transparent round the face: by alpha where a compositor draws the window,
  // by its shape where the X server does.
  setAttribute(Qt::WA_TranslucentBackground);
  setMask(QRegion(icon_.pixmap(kIconSize).mask()).translated(IconRect().topLeft()));
  setWindowTitle(kTip);
  setWindowIcon(icon_);
  setToolTip(kTip);
  setFixedSize(kStatusSize, kStatusSize);
  PlaceInCorner();
  if (QScreen* screen = QGuiApplication::primaryScreen())
    connect(screen, &QScreen::availableGeometryChanged, this, [this] { PlaceInCorner(); });
}

void StatusWindow::PlaceInCorner() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  const QRect area = screen->availableGeometry();
  move(area.right() + 1 - kStatusSize - kStatusMargin,
       area.bottom() + 1 - kStatusSize - kStatusMargin);
}

QRect StatusWindow::IconRect() const {
  return QRect(QPoint((kStatusSize - kIconSize) / 2, (kStatusSize - kIconSize) / 2),
               QSize(kIconSize, kIconSize));
}

// At its own size, so no pixel is blended.
void StatusWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawPixmap(IconRect().topLeft(), icon_.pixmap(kIconSize));
}

// The stand-in is the only way back to a mascot that was put away, so it stays.
void StatusWindow::closeEvent(QCloseEvent* event) {
  event->ignore();
}

void StatusWindow::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) notify_(engine::kTrayDoubleClick);
}

void StatusWindow::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) notify_(engine::kTrayRightUp);
}

TrayIcon::TrayIcon(const QIcon& icon, std::function<void(std::int32_t)> notify)
    : notify_(std::move(notify)) {
  if (!QSystemTrayIcon::isSystemTrayAvailable()) {
    fallback_ = std::make_unique<StatusWindow>(icon, [this](std::int32_t code) { Notify(code); });
    fallback_->show();
    return;
  }
  icon_ = std::make_unique<QSystemTrayIcon>(icon);
  icon_->setToolTip(kTip);
  QObject::connect(icon_.get(), &QSystemTrayIcon::activated, this,
                   [this](QSystemTrayIcon::ActivationReason reason) { OnActivated(reason); });
  // Qt reports the tray menu request on the press; the release is watched for here.
  qApp->installEventFilter(this);
  icon_->show();
}

TrayIcon::~TrayIcon() {
  Remove();
}

void TrayIcon::Remove() {
  if (icon_) {
    qApp->removeEventFilter(this);
    icon_->hide();
    icon_.reset();
  }
  fallback_.reset();
}

// A StatusNotifierItem host has no double-click: its activation, a single
// click, is what a double-click on an XEmbed icon is.
bool TrayIcon::Embedded() const {
  const QWidgetList widgets = QApplication::topLevelWidgets();
  return std::any_of(widgets.begin(), widgets.end(),
                     [](const QWidget* widget) { return IsTrayIconWidget(widget); });
}

void TrayIcon::OnActivated(QSystemTrayIcon::ActivationReason reason) {
  if (reason == QSystemTrayIcon::DoubleClick ||
      (reason == QSystemTrayIcon::Trigger && !Embedded())) {
    Notify(engine::kTrayDoubleClick);
  } else if (reason == QSystemTrayIcon::Context && !rightPressOnIcon_) {
    // A D-Bus tray host asks for the menu only once the click is over.
    Notify(engine::kTrayRightUp);
  }
}

// Reported once the mouse event is fully handled: the notification may open a
// modal menu, which must not run inside the icon's own event delivery.
void TrayIcon::Notify(std::int32_t code) {
  QMetaObject::invokeMethod(
      this, [this, code] { notify_(code); }, Qt::QueuedConnection);
}

bool TrayIcon::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if ((type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease) ||
      !IsTrayIconWidget(watched))
    return false;
  if (static_cast<QMouseEvent*>(event)->button() != Qt::RightButton) return false;
  if (type == QEvent::MouseButtonPress) {
    rightPressOnIcon_ = true;
  } else if (std::exchange(rightPressOnIcon_, false)) {
    Notify(engine::kTrayRightUp);
  }
  return false;
}

}  // namespace pelmo::ui::qt
