#include "ui/win32/tray.h"

#include <shellapi.h>

#include <cstring>

#include "ui/forms.h"

namespace pelmo::ui::win32 {

namespace {

// The single-byte record of version 2, sized for this build: a 64-bit shell
// refuses the 32-bit size, so the size is taken from the headers, not written down.
NOTIFYICONDATAA Record(HWND owner) {
  NOTIFYICONDATAA data{};
  data.cbSize = NOTIFYICONDATAA_V2_SIZE;
  data.hWnd = owner;
  data.uID = TrayIcon::kIconId;
  return data;
}

}  // namespace

TrayIcon::TrayIcon(HWND owner, HICON icon)
    : owner_(owner), icon_(icon), taskbarCreated_(RegisterWindowMessageA("TaskbarCreated")) {
  Add();
}

TrayIcon::~TrayIcon() {
  Remove();
}

void TrayIcon::Add() {
  NOTIFYICONDATAA data = Record(owner_);
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;  // 7
  data.uCallbackMessage = kTrayMessage;
  data.hIcon = icon_;
  static_assert(kTitle.size() < sizeof data.szTip);
  std::memcpy(data.szTip, kTitle.data(), kTitle.size());
  Shell_NotifyIconA(NIM_ADD, &data);
  present_ = true;
}

void TrayIcon::Remove() {
  if (!present_) return;
  NOTIFYICONDATAA data = Record(owner_);
  Shell_NotifyIconA(NIM_DELETE, &data);
  present_ = false;
}

void TrayIcon::OnShellRestarted() {
  if (present_) Add();
}

}  // namespace pelmo::ui::win32
