#pragma once

#include <string_view>

namespace pelmo::ui::win32 {

// Shows the answer to a command-line question: on the console or file the program's output
// goes to, or, for a program started without one (from Explorer), in a message box.
void ShowCommandLineAnswer(std::string_view text, bool is_error);

}  // namespace pelmo::ui::win32
