#pragma once

#include <cstdint>

namespace pelmo::assets::gen {

struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  friend bool operator==(Rgb, Rgb) = default;
  friend auto operator<=>(Rgb, Rgb) = default;
};

// The colour every picture is drawn on; the windows show it as see-through.
inline constexpr Rgb kKeyBlue{0, 0, 255};

// The mascot's own colours, shared by every frame.
inline constexpr Rgb kCream{255, 255, 204};
inline constexpr Rgb kBrown{51, 0, 0};
inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kPaleCyan{204, 255, 255};

}  // namespace pelmo::assets::gen
