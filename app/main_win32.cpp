// pelmo.exe: the program entry of the Windows build.
#include <windows.h>

#include <ctime>
#include <exception>

#include "ui/forms.h"
#include "ui/win32/platform.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  using pelmo::ui::win32::Win32Platform;
  try {
    Win32Platform platform;
    pelmo::ui::Forms forms(platform, static_cast<std::uint32_t>(std::time(nullptr)));
    platform.Attach(forms);
    forms.Start();
    platform.HideApplicationWindow();  // no taskbar button
    return platform.RunMessageLoop();
  } catch (const std::exception& error) {
    pelmo::ui::win32::ShowErrorBox(nullptr, error.what());
  } catch (...) {
    pelmo::ui::win32::ShowErrorBox(nullptr, "");
  }
  return 0;
}
