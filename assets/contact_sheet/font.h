#pragma once

#include <array>
#include <string_view>

namespace pelmo::assets::sheet {

inline constexpr int kGlyphWidth = 5;
inline constexpr int kGlyphHeight = 7;

// The 5x7 pattern of a character ('#' inked), for the upper-case letters, digits and '_' that
// asset names use; a blank for anything else.
std::array<std::string_view, kGlyphHeight> Glyph(char c);

}  // namespace pelmo::assets::sheet
