#pragma once

#include <windows.h>

namespace pelmo::ui::win32 {

// The one notification-area icon, tip "Pelmo". Its mouse messages reach the
// owner window as kTrayMessage with the mouse message number in lParam.
class TrayIcon {
 public:
  static constexpr UINT kTrayMessage = WM_USER + 1;  // 1025
  static constexpr UINT kIconId = 100;

  TrayIcon(HWND owner, HICON icon);
  ~TrayIcon();
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  void Remove();
  // The shell's notification area was rebuilt (Explorer restarted): without a
  // new NIM_ADD a mascot that is put away could never be brought back.
  void OnShellRestarted();
  // The message the shell broadcasts after such a restart.
  UINT ShellRestartMessage() const { return taskbarCreated_; }

 private:
  void Add();

  HWND owner_;
  HICON icon_;
  UINT taskbarCreated_;
  bool present_ = false;
};

}  // namespace pelmo::ui::win32
