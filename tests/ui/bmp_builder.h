#pragma once

// Builds small BMP files in memory, so that decoder and compositor rules can be
// checked on pictures made for the purpose.

#include <cstdint>
#include <vector>

#include "ui/picture.h"

namespace pelmo::ui::testing {

// A picture filled with one colour.
inline Picture Filled(std::int32_t width, std::int32_t height, std::uint32_t colour) {
  return {width, height,
          std::vector<std::uint32_t>(static_cast<std::size_t>(width * height), colour)};
}

// A picture whose every pixel is different and none is blue: x in the low bits,
// y above, red set so that no pixel is ever the colour key.
inline Picture Gradient(std::int32_t width, std::int32_t height) {
  Picture p = Filled(width, height, 0);
  for (std::int32_t y = 0; y < height; ++y)
    for (std::int32_t x = 0; x < width; ++x)
      p.pixels[static_cast<std::size_t>(y * width + x)] =
          0x800000u | static_cast<std::uint32_t>(y) << 11 | static_cast<std::uint32_t>(x);
  return p;
}

struct BmpOptions {
  bool fileHeader = true;
  bool topDown = false;
  std::uint32_t infoHeaderSize = 40;
};

class BmpBuilder {
 public:
  using Options = BmpOptions;

  // A 24-bit picture.
  static std::vector<std::uint8_t> Rgb24(const Picture& picture, Options options) {
    std::vector<std::uint8_t> rows;
    const std::size_t stride = (static_cast<std::size_t>(picture.width) * 3 + 3) & ~std::size_t{3};
    for (std::int32_t i = 0; i < picture.height; ++i) {
      const std::int32_t y = options.topDown ? i : picture.height - 1 - i;
      std::size_t written = 0;
      for (std::int32_t x = 0; x < picture.width; ++x, written += 3) {
        const std::uint32_t c = picture.At(x, y);
        rows.push_back(static_cast<std::uint8_t>(c));
        rows.push_back(static_cast<std::uint8_t>(c >> 8));
        rows.push_back(static_cast<std::uint8_t>(c >> 16));
      }
      rows.resize(rows.size() + (stride - written), 0);
    }
    return Assemble(picture.width, picture.height, 24, {}, rows, options);
  }
  static std::vector<std::uint8_t> Rgb24(const Picture& picture) { return Rgb24(picture, {}); }

  // An 8-bit picture: `indices` top-down, `palette` as 0x00RRGGBB.
  static std::vector<std::uint8_t> Palette8(std::int32_t width, std::int32_t height,
                                            const std::vector<std::uint8_t>& indices,
                                            const std::vector<std::uint32_t>& palette,
                                            Options options = {}) {
    std::vector<std::uint8_t> rows;
    const std::size_t stride = (static_cast<std::size_t>(width) + 3) & ~std::size_t{3};
    for (std::int32_t i = 0; i < height; ++i) {
      const std::int32_t y = options.topDown ? i : height - 1 - i;
      for (std::int32_t x = 0; x < width; ++x)
        rows.push_back(indices[static_cast<std::size_t>(y * width + x)]);
      rows.resize(rows.size() + (stride - static_cast<std::size_t>(width)), 0);
    }
    return Assemble(width, height, 8, palette, rows, options);
  }

  // Offsets of header fields in a file with a file header.
  static constexpr std::size_t kFileSize = 2;
  static constexpr std::size_t kPixelOffset = 10;
  static constexpr std::size_t kWidth = 18;
  static constexpr std::size_t kHeight = 22;
  static constexpr std::size_t kPlanes = 26;
  static constexpr std::size_t kBitCount = 28;
  static constexpr std::size_t kCompression = 30;
  static constexpr std::size_t kImageSize = 34;
  static constexpr std::size_t kColoursUsed = 46;

  static void Put16(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
  }
  static void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    Put16(b, at, v & 0xFFFF);
    Put16(b, at + 2, v >> 16);
  }

 private:
  static std::vector<std::uint8_t> Assemble(std::int32_t width, std::int32_t height,
                                            std::uint32_t bits,
                                            const std::vector<std::uint32_t>& palette,
                                            const std::vector<std::uint8_t>& rows,
                                            Options options) {
    const std::size_t fileHeader = options.fileHeader ? 14 : 0;
    const std::size_t offset = fileHeader + options.infoHeaderSize + palette.size() * 4;
    std::vector<std::uint8_t> b(offset, 0);
    if (options.fileHeader) {
      b[0] = 'B';
      b[1] = 'M';
      Put32(b, 2, static_cast<std::uint32_t>(offset + rows.size()));
      Put32(b, 10, static_cast<std::uint32_t>(offset));
    }
    const std::size_t h = fileHeader;
    Put32(b, h, options.infoHeaderSize);
    Put32(b, h + 4, static_cast<std::uint32_t>(width));
    Put32(b, h + 8, static_cast<std::uint32_t>(options.topDown ? -height : height));
    Put16(b, h + 12, 1);
    Put16(b, h + 14, bits);
    Put32(b, h + 20, static_cast<std::uint32_t>(rows.size()));
    Put32(b, h + 32, static_cast<std::uint32_t>(palette.size()));
    for (std::size_t i = 0; i < palette.size(); ++i)
      Put32(b, h + options.infoHeaderSize + 4 * i, palette[i]);
    b.insert(b.end(), rows.begin(), rows.end());
    return b;
  }
};

}  // namespace pelmo::ui::testing
