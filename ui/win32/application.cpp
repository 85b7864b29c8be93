// The program on a Windows desktop: the four windows, the tray icon and the
// message loop.
#include "ui/win32/application.h"

#include <windows.h>

#include <ctime>
#include <exception>

#include "ui/forms.h"
#include "ui/win32/platform.h"

namespace pelmo::ui::win32 {

int RunApplication() {
  try {
    Win32Platform platform;
    Forms forms(platform, static_cast<std::uint32_t>(std::time(nullptr)));
    platform.Attach(forms);
    forms.Start();
    platform.HideApplicationWindow();  // no taskbar button
    return platform.RunMessageLoop();
  } catch (const std::exception& error) {
    ShowErrorBox(nullptr, error.what());
  } catch (...) {
    ShowErrorBox(nullptr, "");
  }
  return 0;
}

}  // namespace pelmo::ui::win32
