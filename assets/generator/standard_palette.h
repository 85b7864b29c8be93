#pragma once

#include <array>

#include "assets/generator/colour.h"

namespace pelmo::assets::gen {

// The platform's standard 256-colour palette: twenty fixed system colours, ten at each end, and
// between them a colour cube stepping red and green by 32 and blue by 64, red varying fastest.
// The cube's own first and last ten entries give way to the system colours.
inline std::array<Rgb, 256> StandardPalette() {
  std::array<Rgb, 256> p{};
  for (int i = 0; i < 256; ++i) {
    p[i] = {static_cast<std::uint8_t>(i % 8 * 32), static_cast<std::uint8_t>(i / 8 % 8 * 32),
            static_cast<std::uint8_t>(i / 64 * 64)};
  }
  const std::array<Rgb, 10> low{{{0, 0, 0},
                                 {128, 0, 0},
                                 {0, 128, 0},
                                 {128, 128, 0},
                                 {0, 0, 128},
                                 {128, 0, 128},
                                 {0, 128, 128},
                                 {192, 192, 192},
                                 {192, 220, 192},
                                 {166, 202, 240}}};
  const std::array<Rgb, 10> high{{{255, 251, 240},
                                  {160, 160, 164},
                                  {128, 128, 128},
                                  {255, 0, 0},
                                  {0, 255, 0},
                                  {255, 255, 0},
                                  {0, 0, 255},
                                  {255, 0, 255},
                                  {0, 255, 255},
                                  {255, 255, 255}}};
  for (int i = 0; i < 10; ++i) {
    p[i] = low[i];
    p[246 + i] = high[i];
  }
  return p;
}

inline constexpr int kPaletteKeyBlue = 252;

}  // namespace pelmo::assets::gen
