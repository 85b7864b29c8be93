#include "ui/qt/platform.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QImage>
#include <QMessageBox>
#include <QPixmap>
#include <QScreen>
#include <QUrl>
#include <algorithm>
#include <stdexcept>
#include <string>

#include "assets/catalogue.h"
#include "ui/icon.h"
#include "ui/qt/footprint.h"

namespace pelmo::ui::qt {

namespace {

constexpr int kTimerIntervalMs = 100;
// How far ahead quiet ticks are looked for: an idle mascot wakes the program at
// least this often, and a look ahead costs this many ticks on a copy at most.
constexpr int kQuietLookAhead = 50;

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The cursor is kept as a .cur file, which Qt's icon reader takes.
QPixmap AssetPixmap(std::string_view name) {
  const auto bytes = assets::FindAsset(name);
  if (!bytes) throw std::runtime_error("The picture " + std::string(name) + " is missing.");
  QImage image;
  if (!image.loadFromData(bytes->data(), static_cast<int>(bytes->size()), "ICO"))
    throw std::runtime_error("The picture " + std::string(name) + " cannot be read.");
  return QPixmap::fromImage(image);
}

// Qt's icon reader leaves out the mask of a 24-bit icon, which would put the
// face on a black square.
QPixmap IconPixmap(std::string_view name) {
  const auto bytes = assets::FindAsset(name);
  if (!bytes) throw std::runtime_error("The picture " + std::string(name) + " is missing.");
  const Picture icon = DecodeIcon(*bytes, 32);
  QImage image(icon.width, icon.height, QImage::Format_ARGB32);
  for (std::int32_t y = 0; y < icon.height; ++y)
    std::copy_n(icon.pixels.begin() + static_cast<std::ptrdiff_t>(y) * icon.width, icon.width,
                reinterpret_cast<std::uint32_t*>(image.scanLine(y)));
  return QPixmap::fromImage(image);
}

}  // namespace

QtPlatform::QtPlatform(const ScaleVariables& variables)
    : variables_(variables),
      scale_(ReadDesktopScale(variables)),
      baseFont_(QGuiApplication::font()),
      icon_(IconPixmap("MAINICON")),
      dragPixmap_(AssetPixmap("MYCURSOR")),
      dragCursor_(ScaledDragCursor()),
      schedule_(kTimerIntervalMs) {
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (x11 == nullptr) throw std::runtime_error("Pelmo needs an X11 display.");
  compositing_ =
      std::make_unique<CompositingWatch>(x11->connection(), [this] { FollowCompositing(); });
  grab_ = std::make_unique<PointerGrab>(x11->connection());
  pointer_ = std::make_unique<PointerQuery>(x11->connection());
  for (WindowId id : kWindows)
    windows_[static_cast<std::size_t>(id)] = std::make_unique<SpriteWindow>(
        id == WindowId::FoodForm ? SpriteWindow::Motion::Followed : SpriteWindow::Motion::Ignored,
        compositing_->Composited());
  FollowScaleInText(baseFont_, variables_);
  QGuiApplication::setWindowIcon(icon_);
  QApplication::setFont(JapaneseFace());
  timer_.setSingleShot(true);
  clock_.start();
}

QtPlatform::~QtPlatform() = default;

void QtPlatform::Attach(Forms& forms) {
  forms_ = &forms;
  const engine::Scene& scene = forms.GetEngine().GetScene();
  Window(WindowId::Form1).setTitle(FromUtf8(scene.Form1.Caption));
  Window(WindowId::FoodForm).setTitle(FromUtf8(scene.FoodForm.Caption));
  Window(WindowId::RainForm).setTitle(FromUtf8(scene.RainForm.Caption));
  Window(WindowId::SunForm).setTitle(FromUtf8(scene.SunForm.Caption));

  Window(WindowId::Form1)
      .SetPointerHandlers({
          .press =
              [this](engine::MouseButton button) {
                Input([this, button] { forms_->OnMascotMouseDown(button); });
              },
          .release = [this] { Input([this] { forms_->OnMascotMouseUp(); }); },
          .doubleClick = [this] { Input([this] { forms_->OnMascotDoubleClick(); }); },
      });
  // The food reacts the same to every button; a double-click is one more press.
  Window(WindowId::FoodForm)
      .SetPointerHandlers({
          .press = [this](engine::MouseButton) { Input([this] { forms_->OnFoodMouseDown(); }); },
          .release = nullptr,
          .doubleClick = [this] { Input([this] { forms_->OnFoodMouseDown(); }); },
      });

  QObject::connect(&timer_, &QTimer::timeout, [this] { OnTimer(); });
  tray_ = std::make_unique<TrayIcon>(
      icon_, [this](std::int32_t code) { Input([this, code] { forms_->OnTrayNotify(code); }); });
  WatchWorkArea();
  WatchScale();
  // The session's end takes the tray menu's Exit: the icon goes, the timer
  // stops and the windows are destroyed as the program returns.
  sessionEnd_ = std::make_unique<SessionSignals>(
      [this] { Input([this] { forms_->OnMenuItem(MenuItem::Exit); }); });
  SetTimerEnabled(true);
}

// An idle mascot's ticks mostly change nothing on the screen: the program wakes
// only for the tick that shows something, and runs the quiet ones before it
// then. The mascot goes through the same ticks, with the same outcome, as on a
// timer that wakes it every 100 ms.
void QtPlatform::OnTimer() {
  // Armed first: a tick that opens a message box goes on ticking inside it.
  timer_.start(kTimerIntervalMs);
  schedule_.BeginTimer();
  while (schedule_.TakeOnTimer(clock_.elapsed())) forms_->OnTimer();
  Replan();
}

void QtPlatform::Replan() {
  if (!schedule_.Active()) {
    timer_.stop();
    return;
  }
  const int quiet = forms_->QuietTicksAhead(kQuietLookAhead);
  timer_.start(static_cast<int>(schedule_.Plan(quiet, clock_.elapsed())));
}

// The engine meets ticks and inputs in the order they happened: the quiet ticks
// whose time has come run first, and the input may make the coming ones loud.
template <typename Handler>
void QtPlatform::Input(Handler&& handler) {
  while (schedule_.TakeBeforeInput(clock_.elapsed())) forms_->OnTimer();
  handler();
  Replan();
}

// Form1 must keep spanning the work area when a panel or a screen changes it.
// A new screen may come with a new scale.
void QtPlatform::WatchWorkArea() {
  auto follow = [this](QScreen* screen) {
    if (screen == nullptr) return;
    QObject::connect(screen, &QScreen::availableGeometryChanged, &timer_,
                     [this] { OnDesktopChanged(true); });
  };
  follow(QGuiApplication::primaryScreen());
  QObject::connect(qApp, &QGuiApplication::primaryScreenChanged, &timer_,
                   [this, follow](QScreen* screen) {
                     follow(screen);
                     OnDesktopChanged(true);
                   });
}

// A new scale changes the work area in the engine's pixels, and every window
// on the screen though none in the engine.
void QtPlatform::OnDesktopChanged(bool workAreaChanged) {
  const bool rescaled = Rescale();
  FollowScaleInText(baseFont_, variables_);
  if (!rescaled && !workAreaChanged) return;
  Input([this, rescaled] {
    forms_->OnWorkAreaChanged();
    if (rescaled) forms_->PresentAll();
  });
}

// Each window is made anew for the new way of reaching the screen, and shown
// again as it stands.
void QtPlatform::FollowCompositing() {
  for (auto& window : windows_) window->SetComposited(compositing_->Composited());
  if (forms_ != nullptr) forms_->PresentAll();
}

// The pointer may leave the mascot anywhere on the screens during a drag.
QRect QtPlatform::PointerArea() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->virtualGeometry() : QRect();
}

// A new Xft.dpi arrives as new X resources. The sprites change scale once the
// event has been handled, outside Qt's own handling of it.
void QtPlatform::WatchScale() {
  resources_ = std::make_unique<ResourceWatcher>([this] {
    QMetaObject::invokeMethod(
        &timer_, [this] { OnDesktopChanged(false); }, Qt::QueuedConnection);
  });
}

bool QtPlatform::Rescale() {
  if (!scale_.SetFactor(ReadDesktopScale(variables_))) return false;
  dragCursor_ = ScaledDragCursor();
  if (dragCursorShown_) Window(WindowId::Form1).setCursor(dragCursor_);
  return true;
}

// The strawberry grows with the mascot, each of its pixels a block; the hot
// spot stays the top-left corner.
QCursor QtPlatform::ScaledDragCursor() const {
  const int n = scale_.Factor();
  if (n == 1) return QCursor(dragPixmap_, 0, 0);
  return QCursor(
      dragPixmap_.scaled(dragPixmap_.size() * n, Qt::IgnoreAspectRatio, Qt::FastTransformation), 0,
      0);
}

engine::Point QtPlatform::CursorPos() {
  const std::optional<QPoint> asked = pointer_->Position();
  const QPoint pos = asked ? *asked : QCursor::pos();
  return scale_.ToEngine(engine::Point{pos.x(), pos.y()});
}

engine::WorkArea QtPlatform::GetWorkArea() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return {};
  const QRect area = screen->availableGeometry();
  return scale_.ToEngine(
      engine::WorkArea{area.x(), area.y(), area.x() + area.width(), area.y() + area.height()});
}

void QtPlatform::Present(WindowId window, const Presentation& presentation) {
  Window(window).Present(scale_.ToDevice(window, presentation));
}

void QtPlatform::PlayCue(std::string_view name) {
  sound_.Play(name);
}

void QtPlatform::StopCue() {
  sound_.Stop();
}

// Set on every tick of a drag; X11 keeps a window's cursor, so once is enough
// until the drag ends.
void QtPlatform::SetDragCursor() {
  if (dragCursorShown_) return;
  Window(WindowId::Form1).setCursor(dragCursor_);
  dragCursorShown_ = true;
}

void QtPlatform::CaptureMouse() {
  SpriteWindow& form1 = Window(WindowId::Form1);
  form1.Hold(PointerArea());
  grab_->Take(static_cast<xcb_window_t>(form1.winId()));
}

// An ungrab ends any grab of the pointer, also the one X holds for a press on
// the food that is about to be dragged; so only the grab the program took is
// let go.
void QtPlatform::ReleaseMouse() {
  SpriteWindow& form1 = Window(WindowId::Form1);
  grab_->Release();
  form1.Release();
  if (std::exchange(dragCursorShown_, false)) form1.unsetCursor();
}

// The sprite windows bypass the window manager, so no taskbar or pager lists
// them, and the program has no other window that could show a button.
void QtPlatform::HideApplicationWindow() {}

void QtPlatform::SetTimerEnabled(bool enabled) {
  if (enabled) {
    schedule_.Start(clock_.elapsed());
  } else {
    schedule_.Stop();
  }
  Replan();
}

void QtPlatform::PopupMenu(engine::PopupMenu menu, engine::Point at) {
  Replan();  // the ticks inside the menu's loop follow what led to it
  const engine::Point device = scale_.ToDevice(at);
  const MenuItem item = menus_.Choose(menu, QPoint(device.x, device.y), compositing_->Composited());
  ReturnFreedMemory();
  if (item == MenuItem::None) return;
  // The item's handler runs once the menu is gone and its caller has returned.
  QMetaObject::invokeMethod(
      &timer_, [this, item] { Input([this, item] { forms_->OnMenuItem(item); }); },
      Qt::QueuedConnection);
}

void QtPlatform::MoveFoodFormWithPointer() {
  Window(WindowId::FoodForm).FollowPointerUntilRelease(PointerArea(), [this](QPoint moved) {
    Input([this, moved] {
      const engine::SpriteWindow& food = forms_->GetEngine().GetScene().FoodForm;
      const engine::Point at = scale_.ToDevice(engine::Point{food.Left, food.Top});
      forms_->OnFoodFormMoved(scale_.ToEngine(engine::Point{at.x + moved.x(), at.y + moved.y()}));
    });
  });
}

void QtPlatform::ShowMessage(std::string_view text, std::string_view caption) {
  Replan();  // the ticks inside the box's loop follow what led to it
  messages_.Show(FromUtf8(caption), FromUtf8(text));
  ReturnFreedMemory();
}

void QtPlatform::ShowError(std::string_view text) {
  Replan();
  QMessageBox box(QMessageBox::Critical, FromUtf8(kTitle), FromUtf8(text), QMessageBox::Ok);
  box.exec();
}

void QtPlatform::OpenUrl(std::string_view url) {
  QDesktopServices::openUrl(QUrl(FromUtf8(url)));
}

void QtPlatform::RemoveTrayIcon() {
  if (tray_) tray_->Remove();
}

void QtPlatform::Quit() {
  schedule_.Stop();
  timer_.stop();
  QCoreApplication::quit();
}

}  // namespace pelmo::ui::qt
