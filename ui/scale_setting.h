#pragma once

#include <optional>
#include <string_view>

namespace pelmo::ui {

// Reading an X11 desktop's scale, kept apart from the toolkit so it can be tried
// on any text.

// The value of `Xft.dpi` in the X resource database's text (the root window's
// RESOURCE_MANAGER property): one "name:\tvalue" per line. Nothing when it is
// absent or not a positive number.
std::optional<double> XftDpi(std::string_view resources);

// The scale a variable such as QT_SCALE_FACTOR ("2", "1.5") or GDK_SCALE ("2")
// asks for, rounded to the nearest whole number as a DPI would be; nothing when
// it is unset, empty or not a positive number.
std::optional<int> ScaleFromVariable(const char* value);

// The scale the user chose: QT_SCALE_FACTOR's, else GDK_SCALE's (a variable is
// set on purpose, for this session), else Xft.dpi's (the desktop's own
// setting), else 1.
int DesktopScale(std::optional<int> qtScaleFactor, std::optional<int> gdkScale,
                 std::optional<double> xftDpi);

}  // namespace pelmo::ui
