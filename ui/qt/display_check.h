#pragma once

#include <optional>
#include <string>

namespace pelmo::ui::qt {

// Why the program cannot open the X display DISPLAY names, as a line for the
// user, or nothing when a server answers there. Left to find out for itself, Qt
// ends the program with an abort (and a core dump where they are kept) and
// advises reinstalling it: what a stale DISPLAY, or a start racing the
// session's X server, would show the user.
std::optional<std::string> DisplayProblem(const char* display);

}  // namespace pelmo::ui::qt
