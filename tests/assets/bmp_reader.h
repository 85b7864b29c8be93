#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace pelmo::assets {

struct Rgb8 {
  std::uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(Rgb8, Rgb8) = default;
  friend auto operator<=>(Rgb8, Rgb8) = default;
};

// The tests read the generated files with this reader of their own, not with the
// program's decoder, so that a fault shared by the generator and the program
// cannot hide; it also shows the file's layout (depth, palette, row order).
//
// A decoded uncompressed BMP. `pixels` runs top row first whatever the file's row order;
// for palette pictures `indices` holds each pixel's palette index as well.
struct DecodedBmp {
  int width = 0;
  int height = 0;
  int bits_per_pixel = 0;
  bool bottom_up = false;
  std::vector<Rgb8> palette;
  std::vector<std::uint8_t> indices;
  std::vector<Rgb8> pixels;

  Rgb8 at(int x, int y) const { return pixels[y * width + x]; }
};

// Reads 24-bit and 8-bit uncompressed BMP files; nothing for anything else or a damaged file.
std::optional<DecodedBmp> DecodeBmp(std::span<const std::uint8_t> file);

}  // namespace pelmo::assets
