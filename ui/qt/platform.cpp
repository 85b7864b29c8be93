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
#include <stdexcept>
#include <string>

#include "assets/catalogue.h"
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

// The cursor and the icon are kept as .cur and .ico files; Qt's ICO reader
// takes both.
QPixmap AssetPixmap(std::string_view name) {
  const auto bytes = assets::FindAsset(name);
  if (!bytes) throw std::runtime_error("The picture " + std::string(name) + " is missing.");
  QImage image;
  if (!image.loadFromData(bytes->data(), static_cast<int>(bytes->size()), "ICO"))
    throw std::runtime_error("The picture " + std::string(name) + " cannot be read.");
  return QPixmap::fromImage(image);
}

}  // namespace

QtPlatform::QtPlatform()
    : icon_(AssetPixmap("MAINICON")),
      dragCursor_(AssetPixmap("MYCURSOR"), 0, 0),  // the hot spot is the cell's top-left corner
      schedule_(kTimerIntervalMs) {
  for (WindowId id : kWindows)
    windows_[static_cast<std::size_t>(id)] = std::make_unique<SpriteWindow>(
        id == WindowId::FoodForm ? SpriteWindow::Motion::Followed : SpriteWindow::Motion::Ignored);
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
void QtPlatform::WatchWorkArea() {
  auto follow = [this](QScreen* screen) {
    if (screen == nullptr) return;
    QObject::connect(screen, &QScreen::availableGeometryChanged, &timer_,
                     [this] { Input([this] { forms_->OnWorkAreaChanged(); }); });
  };
  follow(QGuiApplication::primaryScreen());
  QObject::connect(qApp, &QGuiApplication::primaryScreenChanged, &timer_,
                   [this, follow](QScreen* screen) {
                     follow(screen);
                     Input([this] { forms_->OnWorkAreaChanged(); });
                   });
}

engine::Point QtPlatform::CursorPos() {
  const QPoint pos = QCursor::pos();
  return {pos.x(), pos.y()};
}

engine::WorkArea QtPlatform::GetWorkArea() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return {};
  const QRect area = screen->availableGeometry();
  return {area.x(), area.y(), area.x() + area.width(), area.y() + area.height()};
}

void QtPlatform::Present(WindowId window, const Presentation& presentation) {
  Window(window).Present(presentation);
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
  captured_ = Window(WindowId::Form1).setMouseGrabEnabled(true);
}

// Qt's ungrab ends any grab of the pointer, also the one X holds for a press on
// the food that is about to be dragged; so only a grab of our own is released.
void QtPlatform::ReleaseMouse() {
  SpriteWindow& form1 = Window(WindowId::Form1);
  if (std::exchange(captured_, false)) form1.setMouseGrabEnabled(false);
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
  const MenuItem item = menus_.Choose(menu, QPoint(at.x, at.y));
  ReturnFreedMemory();
  if (item == MenuItem::None) return;
  // The item's handler runs once the menu is gone and its caller has returned.
  QMetaObject::invokeMethod(
      &timer_, [this, item] { Input([this, item] { forms_->OnMenuItem(item); }); },
      Qt::QueuedConnection);
}

void QtPlatform::MoveFoodFormWithPointer() {
  Window(WindowId::FoodForm).FollowPointerUntilRelease([this](QPoint moved) {
    Input([this, moved] {
      const engine::SpriteWindow& food = forms_->GetEngine().GetScene().FoodForm;
      forms_->OnFoodFormMoved({food.Left + moved.x(), food.Top + moved.y()});
    });
  });
}

void QtPlatform::ShowMessage(std::string_view text, std::string_view caption) {
  Replan();  // the ticks inside the box's loop follow what led to it
  {
    QMessageBox box(QMessageBox::NoIcon, FromUtf8(caption), FromUtf8(text), QMessageBox::Ok);
    box.exec();
  }
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
