// The BMP decoder: the only code that reads picture bytes, so every bound is
// checked here once.
#include "ui/picture.h"

#include <array>
#include <cstddef>
#include <string>

namespace pelmo::ui {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;  // BITMAPINFOHEADER; V4/V5 only append fields
constexpr std::uint32_t kBiRgb = 0;
// Far beyond any picture the program carries: a larger side means a corrupt header.
constexpr std::int64_t kMaxSide = 32768;

std::uint32_t U16(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8;
}

std::uint32_t U32(std::span<const std::uint8_t> b, std::size_t at) {
  return U16(b, at) | U16(b, at + 2) << 16;
}

[[noreturn]] void Fail(const std::string& why) {
  throw PictureError("not a usable BMP: " + why);
}

struct Layout {
  std::int64_t width = 0;
  std::int64_t height = 0;  // always positive here
  bool topDown = false;
  std::uint32_t bitCount = 0;
  std::size_t paletteAt = 0;
  std::size_t paletteEntries = 0;
  std::size_t pixelsAt = 0;
  std::size_t stride = 0;
};

// Reads and checks every header field the pixels depend on, so that the pixel
// loops below can index without further checks.
Layout ReadLayout(std::span<const std::uint8_t> bytes) {
  const bool hasFileHeader = bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M';
  const std::size_t dibAt = hasFileHeader ? kFileHeaderSize : 0;
  if (bytes.size() < dibAt + 4) Fail("truncated before the info header");
  if (hasFileHeader && U32(bytes, 2) > bytes.size()) {
    Fail("truncated: the file header declares " + std::to_string(U32(bytes, 2)) + " bytes, only " +
         std::to_string(bytes.size()) + " present");
  }
  const std::uint32_t headerSize = U32(bytes, dibAt);
  if (headerSize < kInfoHeaderSize) {
    Fail("info header of " + std::to_string(headerSize) + " bytes (at least 40 needed)");
  }
  if (headerSize > bytes.size() - dibAt) Fail("truncated inside the info header");

  Layout l;
  const auto width = static_cast<std::int32_t>(U32(bytes, dibAt + 4));
  const auto height = static_cast<std::int32_t>(U32(bytes, dibAt + 8));
  const std::uint32_t planes = U16(bytes, dibAt + 12);
  l.bitCount = U16(bytes, dibAt + 14);
  const std::uint32_t compression = U32(bytes, dibAt + 16);
  const std::uint32_t imageSize = U32(bytes, dibAt + 20);
  const std::uint32_t coloursUsed = U32(bytes, dibAt + 32);

  l.width = width;
  l.height = height < 0 ? -static_cast<std::int64_t>(height) : height;
  l.topDown = height < 0;
  if (l.width <= 0 || l.height == 0 || l.width > kMaxSide || l.height > kMaxSide) {
    Fail("unsupported dimensions " + std::to_string(width) + " x " + std::to_string(height));
  }
  if (planes != 1) Fail(std::to_string(planes) + " colour planes (1 expected)");
  if (compression != kBiRgb) {
    Fail("compression " + std::to_string(compression) + " (only uncompressed is supported)");
  }
  if (l.bitCount != 24 && l.bitCount != 8) {
    Fail(std::to_string(l.bitCount) + " bits per pixel (only 24 and 8 are supported)");
  }

  l.paletteAt = dibAt + headerSize;
  // A 24-bit picture may still carry a colour table (a display hint); it is skipped.
  std::size_t tableEntries = coloursUsed;
  if (l.bitCount == 8) {
    if (coloursUsed > 256) Fail(std::to_string(coloursUsed) + " palette entries (256 at most)");
    l.paletteEntries = coloursUsed == 0 ? 256 : coloursUsed;
    tableEntries = l.paletteEntries;
  }
  if (tableEntries > (bytes.size() - l.paletteAt) / 4) Fail("truncated inside the palette");
  const std::size_t paletteEnd = l.paletteAt + 4 * tableEntries;

  l.pixelsAt = paletteEnd;
  if (hasFileHeader) {
    const std::uint32_t offset = U32(bytes, 10);
    if (offset < paletteEnd || offset > bytes.size()) {
      Fail("pixel data offset " + std::to_string(offset) + " lies outside " +
           std::to_string(paletteEnd) + ".." + std::to_string(bytes.size()));
    }
    l.pixelsAt = offset;
  }

  const auto rowBytes = static_cast<std::size_t>(l.width) * (l.bitCount / 8);
  l.stride = (rowBytes + 3) & ~std::size_t{3};
  // The last row's padding is not required: some writers drop it.
  const std::size_t needed = l.stride * static_cast<std::size_t>(l.height) - (l.stride - rowBytes);
  if (needed > bytes.size() - l.pixelsAt) {
    Fail("truncated: " + std::to_string(needed) + " bytes of pixel rows expected, " +
         std::to_string(bytes.size() - l.pixelsAt) + " present");
  }
  if (imageSize != 0 && imageSize < needed) {
    Fail("image size field " + std::to_string(imageSize) + " is smaller than the " +
         std::to_string(needed) + " bytes of its rows");
  }
  return l;
}

std::uint32_t Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return static_cast<std::uint32_t>(r) << 16 | static_cast<std::uint32_t>(g) << 8 | b;
}

const std::uint8_t* SourceRow(std::span<const std::uint8_t> bytes, const Layout& l,
                              std::int64_t y) {
  const std::int64_t stored = l.topDown ? y : l.height - 1 - y;
  return bytes.data() + l.pixelsAt + static_cast<std::size_t>(stored) * l.stride;
}

void Decode24(std::span<const std::uint8_t> bytes, const Layout& l, std::uint32_t* out) {
  for (std::int64_t y = 0; y < l.height; ++y) {
    const std::uint8_t* src = SourceRow(bytes, l, y);
    for (std::int64_t x = 0; x < l.width; ++x, src += 3) *out++ = Rgb(src[2], src[1], src[0]);
  }
}

void Decode8(std::span<const std::uint8_t> bytes, const Layout& l, std::uint32_t* out) {
  std::array<std::uint32_t, 256> palette{};
  for (std::size_t i = 0; i < l.paletteEntries; ++i) {
    const std::uint8_t* entry = bytes.data() + l.paletteAt + 4 * i;
    palette[i] = Rgb(entry[2], entry[1], entry[0]);
  }
  for (std::int64_t y = 0; y < l.height; ++y) {
    const std::uint8_t* src = SourceRow(bytes, l, y);
    bool beyond = false;
    for (std::int64_t x = 0; x < l.width; ++x) {
      beyond |= src[x] >= l.paletteEntries;
      *out++ = palette[src[x]];
    }
    if (beyond)
      Fail("a pixel indexes beyond the " + std::to_string(l.paletteEntries) + "-entry palette");
  }
}

}  // namespace

Picture DecodeBmp(std::span<const std::uint8_t> bytes) {
  const Layout layout = ReadLayout(bytes);
  Picture picture;
  picture.width = static_cast<std::int32_t>(layout.width);
  picture.height = static_cast<std::int32_t>(layout.height);
  picture.pixels.resize(static_cast<std::size_t>(layout.width * layout.height));
  if (layout.bitCount == 24) {
    Decode24(bytes, layout, picture.pixels.data());
  } else {
    Decode8(bytes, layout, picture.pixels.data());
  }
  return picture;
}

}  // namespace pelmo::ui
