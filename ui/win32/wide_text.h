#pragma once

#include <string>
#include <string_view>

namespace pelmo::ui::win32 {

// UTF-16 for the wide-character functions, so Japanese text reads correctly
// whatever the system's code page is. Invalid UTF-8 becomes U+FFFD.
std::wstring Widen(std::string_view utf8);

}  // namespace pelmo::ui::win32
