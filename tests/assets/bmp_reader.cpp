#include "tests/assets/bmp_reader.h"

#include <cstdlib>

namespace pelmo::assets {
namespace {

std::uint32_t Read32(std::span<const std::uint8_t> b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

std::uint16_t Read16(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

}  // namespace

std::optional<DecodedBmp> DecodeBmp(std::span<const std::uint8_t> file) {
  if (file.size() < 54 || file[0] != 'B' || file[1] != 'M') return std::nullopt;
  const std::uint32_t offset = Read32(file, 10);
  const std::uint32_t header = Read32(file, 14);
  const auto width = static_cast<std::int32_t>(Read32(file, 18));
  const auto height = static_cast<std::int32_t>(Read32(file, 22));
  const int bits = Read16(file, 28);
  const std::uint32_t compression = Read32(file, 30);
  if (compression != 0 || (bits != 24 && bits != 8) || width <= 0 || height == 0)
    return std::nullopt;

  DecodedBmp out;
  out.width = width;
  out.height = std::abs(height);
  out.bits_per_pixel = bits;
  out.bottom_up = height > 0;
  const std::size_t stride = (static_cast<std::size_t>(width) * bits + 31) / 32 * 4;
  if (offset + stride * out.height > file.size()) return std::nullopt;
  if (bits == 8) {
    const std::uint32_t used = Read32(file, 46);
    const std::size_t count = used == 0 ? 256 : used;
    if (14 + header + count * 4 > offset) return std::nullopt;
    for (std::size_t i = 0; i < count; ++i) {
      const std::size_t at = 14 + header + i * 4;
      out.palette.push_back({file[at + 2], file[at + 1], file[at]});
    }
  }
  for (int y = 0; y < out.height; ++y) {
    const int stored_row = out.bottom_up ? out.height - 1 - y : y;
    const std::size_t row = offset + stride * stored_row;
    for (int x = 0; x < width; ++x) {
      if (bits == 24) {
        const std::size_t at = row + x * 3;
        out.pixels.push_back({file[at + 2], file[at + 1], file[at]});
      } else {
        const std::uint8_t index = file[row + x];
        if (index >= out.palette.size()) return std::nullopt;
        out.indices.push_back(index);
        out.pixels.push_back(out.palette[index]);
      }
    }
  }
  return out;
}

}  // namespace pelmo::assets
