#pragma once

#include <windows.h>

#include "engine/scene.h"
#include "ui/menus.h"

namespace pelmo::ui::win32 {

// Pops up one of the program's menus with its top-left corner at `at` and waits
// until it closes. Items can be chosen with either button. Returns the chosen
// item, or MenuItem::None when the menu was dismissed. Timer messages of the
// thread keep being dispatched meanwhile.
MenuItem TrackMenu(HWND owner, engine::PopupMenu menu, POINT at);

}  // namespace pelmo::ui::win32
