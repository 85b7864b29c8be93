#include "ui/win32/platform.h"

#include <shellapi.h>

#include <stdexcept>
#include <string>

#include "engine/geometry.h"
#include "engine/scene.h"
#include "ui/win32/menu.h"
#include "ui/win32/sound.h"
#include "ui/win32/wide_text.h"

namespace pelmo::ui::win32 {

namespace {

constexpr wchar_t kApplicationClass[] = L"PelmoApplication";
constexpr UINT_PTR kTimer1 = 1;
constexpr UINT kTimer1Interval = 100;      // ms
constexpr WPARAM kMoveByCaption = 0xF012;  // SC_MOVE + HTCAPTION: move with the pointer

HWND CreateApplicationWindow(void* platform) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconA(instance, "MAINICON");
  windowClass.lpszClassName = kApplicationClass;
  RegisterClassExW(&windowClass);
  const std::wstring title = Widen(kTitle);
  HWND hwnd = CreateWindowExW(0, kApplicationClass, title.c_str(),
                              WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 0, 0,
                              nullptr, nullptr, instance, nullptr);
  if (hwnd == nullptr) {
    throw std::runtime_error("cannot create the application window (error " +
                             std::to_string(GetLastError()) + ")");
  }
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(platform));
  return hwnd;
}

constexpr int kCursorCell = 32;  // the strawberry's own size in pixels
constexpr UINT kBaseDpi = 96;

// Looked up at run time: GetDpiForMonitor needs Windows 8.1, GetDpiForWindow
// Windows 10; earlier systems have one DPI for every screen.
UINT MonitorDpi(HMONITOR monitor) {
  using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
  static const auto getDpiForMonitor = [] {
    HMODULE shcore = LoadLibraryW(L"shcore.dll");
    return shcore == nullptr ? nullptr
                             : reinterpret_cast<GetDpiForMonitorFn>(reinterpret_cast<void*>(
                                   GetProcAddress(shcore, "GetDpiForMonitor")));
  }();
  UINT x = 0;
  UINT y = 0;
  constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI
  if (getDpiForMonitor != nullptr && monitor != nullptr &&
      SUCCEEDED(getDpiForMonitor(monitor, kEffectiveDpi, &x, &y)))
    return y;
  return 0;
}

UINT WindowDpi(HWND window) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  return getDpiForWindow == nullptr ? 0 : getDpiForWindow(window);
}

UINT ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : kBaseDpi;
}

std::optional<engine::MouseButton> PressedButton(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN:
      return engine::MouseButton::Left;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:  // only a left double-click means anything; others are presses
      return engine::MouseButton::Right;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      return engine::MouseButton::Middle;
    default:
      return std::nullopt;
  }
}

}  // namespace

void ShowErrorBox(HWND owner, std::string_view text) {
  const std::wstring message = Widen(text);
  const std::wstring caption = Widen(kTitle);
  MessageBoxW(owner, message.c_str(), caption.c_str(), MB_OK | MB_ICONERROR);
}

Win32Platform::Win32Platform() {
  application_ = CreateApplicationWindow(this);
  SetWindowLongPtrW(application_, GWLP_WNDPROC,
                    reinterpret_cast<LONG_PTR>(&Win32Platform::ApplicationProc));
  Rescale();
  const engine::Scene initial = engine::InitialScene(GetWorkArea());
  const std::array captions = {initial.Form1.Caption, initial.FoodForm.Caption,
                               initial.RainForm.Caption, initial.SunForm.Caption};
  for (WindowId id : kWindows) {
    const std::size_t index = static_cast<std::size_t>(id);
    SpriteWindow::Listener& listener = *this;
    windows_[index] =
        std::make_unique<SpriteWindow>(application_, Widen(captions[index]).c_str(), listener);
    if (id == WindowId::Form1) {
      tray_ = std::make_unique<TrayIcon>(Form1(), LoadIconA(GetModuleHandleW(nullptr), "MAINICON"));
    }
  }
}

Win32Platform::~Win32Platform() {
  KillTimer(Form1(), kTimer1);
  tray_.reset();
  for (auto& window : windows_) window.reset();
  DestroyWindow(application_);
  if (dragCursor_ != nullptr) DestroyCursor(dragCursor_);
}

void Win32Platform::Attach(Forms& forms) {
  forms_ = &forms;
  SetTimer(Form1(), kTimer1, kTimer1Interval, nullptr);
}

int Win32Platform::RunMessageLoop() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}

RECT Win32Platform::DeviceWorkArea() const {
  RECT area{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  return area;
}

// The work area is the primary monitor's, so its DPI is the one the mascot lives at.
int Win32Platform::ReadScale() const {
  const RECT area = DeviceWorkArea();
  UINT dpi = MonitorDpi(MonitorFromRect(&area, MONITOR_DEFAULTTOPRIMARY));
  if (dpi == 0 && windows_[0]) dpi = WindowDpi(windows_[0]->Handle());
  if (dpi == 0) dpi = ScreenDpi();
  return ScaleForDpi(static_cast<double>(dpi));
}

// Above 1 the strawberry is loaded at N times its size; the system stretches it
// as it loads it, the one picture whose scaling is left to Windows.
bool Win32Platform::Rescale() {
  if (!scale_.SetFactor(ReadScale())) return false;
  if (dragCursor_ != nullptr) DestroyCursor(dragCursor_);
  dragCursor_ = nullptr;
  if (scale_.Factor() > 1) {
    const int size = kCursorCell * scale_.Factor();
    dragCursor_ = static_cast<HCURSOR>(
        LoadImageA(GetModuleHandleW(nullptr), "MYCURSOR", IMAGE_CURSOR, size, size, 0));
  }
  return true;
}

// A new scale changes the work area in the engine's pixels, and every window
// on the screen though none in the engine.
void Win32Platform::OnDesktopChanged(bool workAreaChanged) {
  const bool rescaled = Rescale();
  if (!rescaled && !workAreaChanged) return;
  forms_->OnWorkAreaChanged();
  if (rescaled) forms_->PresentAll();
}

engine::Point Win32Platform::CursorPos() {
  POINT point{};
  GetCursorPos(&point);
  return scale_.ToEngine(engine::Point{point.x, point.y});
}

engine::WorkArea Win32Platform::GetWorkArea() {
  const RECT area = DeviceWorkArea();
  return scale_.ToEngine(engine::WorkArea{area.left, area.top, area.right, area.bottom});
}

void Win32Platform::Present(WindowId window, const Presentation& presentation) {
  Window(window).Present(scale_.ToDevice(window, presentation));
}

void Win32Platform::PlayCue(std::string_view name) {
  win32::PlayCue(name);
}

void Win32Platform::StopCue() {
  win32::StopCue();
}

void Win32Platform::SetDragCursor() {
  SetCursor(dragCursor_ != nullptr ? dragCursor_
                                   : LoadCursorA(GetModuleHandleW(nullptr), "MYCURSOR"));
}

void Win32Platform::CaptureMouse() {
  SetCapture(Form1());
}

void Win32Platform::ReleaseMouse() {
  ReleaseCapture();
}

void Win32Platform::HideApplicationWindow() {
  ShowWindow(application_, SW_HIDE);
}

// The timer lives on Form1's window, so every modal loop of the thread (menus,
// the window-move loop, message boxes) dispatches its ticks too.
void Win32Platform::SetTimerEnabled(bool enabled) {
  if (enabled) {
    SetTimer(Form1(), kTimer1, kTimer1Interval, nullptr);
  } else {
    KillTimer(Form1(), kTimer1);
  }
}

void Win32Platform::PopupMenu(engine::PopupMenu menu, engine::Point at) {
  const engine::Point device = scale_.ToDevice(at);
  const MenuItem item = TrackMenu(Form1(), menu, POINT{device.x, device.y});
  if (item != MenuItem::None) forms_->OnMenuItem(item);
}

void Win32Platform::MoveFoodFormWithPointer() {
  SpriteWindow& food = Window(WindowId::FoodForm);
  const POINT before = food.ScreenTopLeft();
  SendMessageA(food.Handle(), WM_SYSCOMMAND, kMoveByCaption, 0);  // returns on release
  const POINT after = food.ScreenTopLeft();
  const engine::SpriteWindow& logical = forms_->GetEngine().GetScene().FoodForm;
  const engine::Point at = scale_.ToDevice(engine::Point{logical.Left, logical.Top});
  forms_->OnFoodFormMoved(scale_.ToEngine(engine::Point{engine::Add32(at.x, after.x - before.x),
                                                        engine::Add32(at.y, after.y - before.y)}));
}

void Win32Platform::ShowMessage(std::string_view text, std::string_view caption) {
  const std::wstring wideText = Widen(text);
  const std::wstring wideCaption = Widen(caption);
  MessageBoxW(application_, wideText.c_str(), wideCaption.c_str(), MB_OK);
}

void Win32Platform::ShowError(std::string_view text) {
  ShowErrorBox(application_, text);
}

void Win32Platform::OpenUrl(std::string_view url) {
  const std::string address(url);
  ShellExecuteA(nullptr, nullptr, address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void Win32Platform::RemoveTrayIcon() {
  tray_->Remove();
}

// Form1 may close from a tick that runs inside a modal loop (the mascot departs
// while its menu is open); that loop must end too, or the windows would linger.
void Win32Platform::Quit() {
  EndMenu();
  for (auto& window : windows_) ShowWindow(window->Handle(), SW_HIDE);
  PostQuitMessage(0);
}

std::optional<LRESULT> Win32Platform::OnMessage(HWND hwnd, UINT message, WPARAM wParam,
                                                LPARAM lParam) {
  if (forms_ == nullptr) return std::nullopt;
  if (hwnd == Form1()) return OnForm1Message(message, wParam, lParam);
  if (hwnd == Window(WindowId::FoodForm).Handle()) return OnFoodFormMessage(message);
  return std::nullopt;
}

std::optional<LRESULT> Win32Platform::OnForm1Message(UINT message, WPARAM wParam, LPARAM lParam) {
  if (auto button = PressedButton(message)) {
    forms_->OnMascotMouseDown(*button);
    return 0;
  }
  switch (message) {
    case WM_TIMER:
      if (wParam != kTimer1) return std::nullopt;
      forms_->OnTimer();
      return 0;
    case WM_LBUTTONDBLCLK:
      forms_->OnMascotDoubleClick();
      return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      forms_->OnMascotMouseUp();
      return 0;
    case TrayIcon::kTrayMessage:
      forms_->OnTrayNotify(static_cast<std::int32_t>(lParam));
      return 0;
    case WM_SETTINGCHANGE:
      OnDesktopChanged(wParam == SPI_SETWORKAREA);
      return std::nullopt;
    case WM_DISPLAYCHANGE:
      OnDesktopChanged(true);
      return std::nullopt;
    case WM_DPICHANGED:  // the windows are placed anew, not where the system suggests
      OnDesktopChanged(false);
      return 0;
    case WM_CLOSE:  // closing Form1 from outside takes the Exit path
      forms_->OnMenuItem(MenuItem::Exit);
      return 0;
    case WM_QUERYENDSESSION:  // nothing to save: the session may end
      return TRUE;
    case WM_ENDSESSION:
      // The process is ended once this returns: the tray icon must go now,
      // by the same path as Exit; the message loop then ends.
      if (wParam) forms_->OnMenuItem(MenuItem::Exit);
      return 0;
    default:
      if (message == tray_->ShellRestartMessage()) {
        tray_->OnShellRestarted();
        return 0;
      }
      return std::nullopt;
  }
}

std::optional<LRESULT> Win32Platform::OnFoodFormMessage(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      forms_->OnFoodMouseDown();
      return 0;
    default:
      return std::nullopt;
  }
}

// The application window is never shown; it owns the sprite windows and turns
// the application's minimize and restore into putting the mascot away and back.
LRESULT CALLBACK Win32Platform::ApplicationProc(HWND hwnd, UINT message, WPARAM wParam,
                                                LPARAM lParam) {
  auto* platform = reinterpret_cast<Win32Platform*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (message == WM_SYSCOMMAND && platform->forms_ != nullptr) {
    switch (wParam & 0xFFF0) {
      case SC_MINIMIZE:
        platform->forms_->OnMinimize();
        return 0;
      case SC_RESTORE:
        platform->forms_->OnRestore();
        return 0;
      default:
        break;
    }
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace pelmo::ui::win32
