#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <optional>
#include <string_view>

#include "ui/display_scale.h"
#include "ui/forms.h"
#include "ui/platform.h"
#include "ui/win32/tray.h"
#include "ui/win32/window.h"

namespace pelmo::ui::win32 {

// The error box of the program: the message, captioned "Pelmo", error icon, OK.
void ShowErrorBox(HWND owner, std::string_view text);

// The Win32 desktop: a hidden application window that owns the four sprite
// windows, the tray icon, the 100 ms timer on Form1's window and the message
// loop. Window messages become Forms events; Forms' requests become Win32 calls.
// The program is per-monitor DPI-aware, so Windows never scales its windows:
// everything here is in device pixels, mapped to and from the engine's at the
// DPI of the monitor that holds the work area.
class Win32Platform final : public Platform, private SpriteWindow::Listener {
 public:
  // Creates the application window titled "Pelmo", then Form1 with the tray
  // icon, FoodForm, RainForm and SunForm, all still hidden.
  Win32Platform();
  ~Win32Platform() override;

  // From here on events go to `forms`, and Timer1 runs.
  void Attach(Forms& forms);
  // Runs until Quit; returns the program's exit code.
  int RunMessageLoop();

  engine::Point CursorPos() override;
  engine::WorkArea GetWorkArea() override;
  void Present(WindowId window, const Presentation& presentation) override;
  void PlayCue(std::string_view name) override;
  void StopCue() override;
  void SetDragCursor() override;
  void CaptureMouse() override;
  void ReleaseMouse() override;
  void HideApplicationWindow() override;
  void SetTimerEnabled(bool enabled) override;
  void PopupMenu(engine::PopupMenu menu, engine::Point at) override;
  void MoveFoodFormWithPointer() override;
  void ShowMessage(std::string_view text, std::string_view caption) override;
  void ShowError(std::string_view text) override;
  void OpenUrl(std::string_view url) override;
  void RemoveTrayIcon() override;
  void Quit() override;

 private:
  std::optional<LRESULT> OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
  std::optional<LRESULT> OnForm1Message(UINT message, WPARAM wParam, LPARAM lParam);
  std::optional<LRESULT> OnFoodFormMessage(UINT message);
  static LRESULT CALLBACK ApplicationProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  SpriteWindow& Window(WindowId window) { return *windows_[static_cast<std::size_t>(window)]; }
  HWND Form1() { return Window(WindowId::Form1).Handle(); }
  RECT DeviceWorkArea() const;
  int ReadScale() const;
  bool Rescale();  // whether the scale changed
  void OnDesktopChanged(bool workAreaChanged);

  HWND application_ = nullptr;
  std::array<std::unique_ptr<SpriteWindow>, kWindows.size()> windows_;
  std::unique_ptr<TrayIcon> tray_;
  Forms* forms_ = nullptr;
  DisplayScale scale_;
  HCURSOR dragCursor_ = nullptr;  // the strawberry at the current scale
};

}  // namespace pelmo::ui::win32
