#pragma once

namespace pelmo::ui::win32 {

// Runs Pelmo on the Windows desktop until Form1 closes; returns the exit status.
int RunApplication();

}  // namespace pelmo::ui::win32
