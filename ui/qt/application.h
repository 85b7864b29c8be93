#pragma once

namespace pelmo::ui::qt {

// Runs Pelmo on the X11 desktop until Form1 closes; returns the exit status.
int RunApplication(int argc, char** argv);

}  // namespace pelmo::ui::qt
