#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace pelmo::ui {

// Pixels are 0x00RRGGBB; the exact pure blue is the colour key (transparent).
inline constexpr std::uint32_t kKeyBlue = 0x0000FFu;

// A decoded bitmap, rows top-down.
struct Picture {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::vector<std::uint32_t> pixels;

  std::uint32_t At(std::int32_t x, std::int32_t y) const {
    return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                  static_cast<std::size_t>(x)];
  }
};

class PictureError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Decodes an uncompressed 24-bit or 8-bit palettised BMP (a file, or a packed DIB
// without the file header as Windows keeps BITMAP resources). Throws PictureError
// for anything else, never reading outside `bytes`.
Picture DecodeBmp(std::span<const std::uint8_t> bytes);

// The named picture from the program's built-in assets, decoded afresh on every
// call. Throws PictureError naming the picture when it is missing or unreadable.
Picture LoadPicture(std::string_view name);

}  // namespace pelmo::ui
