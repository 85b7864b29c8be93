#include "ui/win32/window.h"

#include <stdexcept>
#include <string>

namespace pelmo::ui::win32 {

namespace {

constexpr wchar_t kClassName[] = L"PelmoSpriteWindow";
constexpr COLORREF kKeyColour = RGB(0, 0, 255);

void RegisterClassOnce(HINSTANCE instance) {
  static const bool registered = [instance] {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = CreateSolidBrush(kKeyColour);
    windowClass.lpszClassName = kClassName;
    if (RegisterClassExW(&windowClass) == 0) {
      throw std::runtime_error("cannot register the sprite window class (error " +
                               std::to_string(GetLastError()) + ")");
    }
    return true;
  }();
  (void)registered;
}

}  // namespace

SpriteWindow::SpriteWindow(HWND owner, const wchar_t* caption, Listener& listener)
    : listener_(listener) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  RegisterClassOnce(instance);
  hwnd_ = CreateWindowExW(0, kClassName, caption, WS_POPUP, 0, 0, 0, 0, owner, nullptr, instance,
                          nullptr);
  if (hwnd_ == nullptr) {
    throw std::runtime_error("cannot create a sprite window (error " +
                             std::to_string(GetLastError()) + ")");
  }
  // The layered style goes on after the window exists, then the key colour.
  SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, GetWindowLongPtrW(hwnd_, GWL_EXSTYLE) | WS_EX_LAYERED);
  SetLayeredWindowAttributes(hwnd_, kKeyColour, 255, LWA_COLORKEY);
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SpriteWindow::WindowProc));
}

SpriteWindow::~SpriteWindow() {
  SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DefWindowProcW));
  DestroyWindow(hwnd_);
}

void SpriteWindow::Present(const Presentation& presentation) {
  const ScreenRect& rect = presentation.rect;
  // An empty part shows nothing and must catch no click: the window is hidden.
  if (!presentation.visible || rect.width <= 0 || rect.height <= 0) {
    if (shown_) ShowWindow(hwnd_, SW_HIDE);
    shown_ = false;
    return;
  }
  if (presentation.pixelsChanged && presentation.buffer != nullptr) {
    pixels_ = presentation.buffer->pixels;
  }
  if (!(rect == rect_)) {
    SetWindowPos(hwnd_, nullptr, rect.left, rect.top, rect.width, rect.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    rect_ = rect;
  }
  if (presentation.pixelsChanged) InvalidateRect(hwnd_, nullptr, FALSE);
  // Showing a hidden window brings it to the front and activates it.
  if (!shown_) ShowWindow(hwnd_, SW_SHOW);
  shown_ = true;
  UpdateWindow(hwnd_);  // painted before Present returns
}

POINT SpriteWindow::ScreenTopLeft() const {
  RECT rect{};
  GetWindowRect(hwnd_, &rect);
  return {rect.left, rect.top};
}

void SpriteWindow::Paint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd_, &paint);
  const std::size_t expected =
      static_cast<std::size_t>(rect_.width) * static_cast<std::size_t>(rect_.height);
  if (pixels_.size() == expected && expected > 0) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = rect_.width;
    info.bmiHeader.biHeight = -rect_.height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;  // 0x00RRGGBB is the DIB's blue-green-red-unused order
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(rect_.width), static_cast<DWORD>(rect_.height),
                      0, 0, 0, static_cast<UINT>(rect_.height), pixels_.data(), &info,
                      DIB_RGB_COLORS);
  }
  EndPaint(hwnd_, &paint);
}

LRESULT CALLBACK SpriteWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* window = reinterpret_cast<SpriteWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  switch (message) {
    case WM_PAINT:
      window->Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the picture covers the whole window: no blue flash before it
    default:
      if (auto result = window->listener_.OnMessage(hwnd, message, wParam, lParam)) {
        return *result;
      }
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

}  // namespace pelmo::ui::win32
