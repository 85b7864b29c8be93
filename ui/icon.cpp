#include "ui/icon.h"

#include <cstddef>
#include <cstdlib>
#include <string>

namespace pelmo::ui {

namespace {

constexpr std::size_t kDirectorySize = 6;
constexpr std::size_t kEntrySize = 16;
constexpr std::size_t kInfoHeaderSize = 40;

[[noreturn]] void Fail(const std::string& why) {
  throw PictureError("not a usable icon: " + why);
}

std::uint32_t U16(std::span<const std::uint8_t> b, std::size_t at) {
  if (at + 2 > b.size()) Fail("it is cut short");
  return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8;
}

std::uint32_t U32(std::span<const std::uint8_t> b, std::size_t at) {
  return U16(b, at) | U16(b, at + 2) << 16;
}

std::size_t Stride(std::int64_t width, std::uint32_t bits) {
  return static_cast<std::size_t>((width * bits + 31) / 32 * 4);
}

// The entry whose width is nearest `size`; a stored width of 0 means 256.
std::span<const std::uint8_t> NearestImage(std::span<const std::uint8_t> bytes, std::int32_t size) {
  const std::uint32_t type = U16(bytes, 2);
  if (U16(bytes, 0) != 0 || (type != 1 && type != 2)) Fail("no icon directory");
  const std::uint32_t count = U16(bytes, 4);
  if (count == 0) Fail("no image in it");
  std::span<const std::uint8_t> best;
  int bestDistance = 0;
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::size_t entry = kDirectorySize + i * kEntrySize;
    if (entry + kEntrySize > bytes.size()) Fail("the directory is cut short");
    const int width = bytes[entry] == 0 ? 256 : bytes[entry];
    const std::size_t length = U32(bytes, entry + 8);
    const std::size_t offset = U32(bytes, entry + 12);
    if (offset > bytes.size() || length > bytes.size() - offset) Fail("an image lies outside it");
    const int distance = std::abs(width - size);
    if (best.empty() || distance < bestDistance) {
      best = bytes.subspan(offset, length);
      bestDistance = distance;
    }
  }
  return best;
}

}  // namespace

Picture DecodeIcon(std::span<const std::uint8_t> bytes, std::int32_t size) {
  const std::span<const std::uint8_t> dib = NearestImage(bytes, size);
  if (U32(dib, 0) != kInfoHeaderSize) Fail("the image is not a device-independent bitmap");
  const auto width = static_cast<std::int32_t>(U32(dib, 4));
  const auto doubled = static_cast<std::int32_t>(U32(dib, 8));
  const std::uint32_t bits = U16(dib, 14);
  if (width <= 0 || width > 1024 || doubled <= 0 || doubled > 2048 || doubled % 2 != 0)
    Fail("its size is impossible");
  if ((bits != 24 && bits != 32) || U32(dib, 16) != 0) Fail("only 24- and 32-bit images are read");
  const std::int32_t height = doubled / 2;
  const std::size_t colourStride = Stride(width, bits);
  const std::size_t maskStride = Stride(width, 1);
  const std::size_t maskAt = kInfoHeaderSize + colourStride * static_cast<std::size_t>(height);
  if (maskAt + maskStride * static_cast<std::size_t>(height) > dib.size())
    Fail("the pixels are cut short");

  Picture picture;
  picture.width = width;
  picture.height = height;
  picture.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  bool anyAlpha = false;
  for (std::int32_t y = 0; y < height; ++y) {
    const std::size_t stored = static_cast<std::size_t>(height - 1 - y);  // bottom row first
    const std::size_t row = kInfoHeaderSize + stored * colourStride;
    const std::size_t maskRow = maskAt + stored * maskStride;
    for (std::int32_t x = 0; x < width; ++x) {
      const std::size_t at = row + static_cast<std::size_t>(x) * (bits / 8);
      const std::uint32_t rgb = static_cast<std::uint32_t>(dib[at + 2]) << 16 |
                                static_cast<std::uint32_t>(dib[at + 1]) << 8 | dib[at];
      const bool masked = (dib[maskRow + static_cast<std::size_t>(x) / 8] & (0x80 >> (x % 8))) != 0;
      std::uint32_t alpha = masked ? 0 : 0xFF;
      if (bits == 32) {
        alpha = dib[at + 3];
        anyAlpha |= alpha != 0;
      }
      picture.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                     static_cast<std::size_t>(x)] = alpha << 24 | rgb;
    }
  }
  // A 32-bit image with no alpha at all is an old one that relies on its mask.
  if (bits == 32 && !anyAlpha) {
    for (std::int32_t y = 0; y < height; ++y) {
      const std::size_t maskRow = maskAt + static_cast<std::size_t>(height - 1 - y) * maskStride;
      for (std::int32_t x = 0; x < width; ++x)
        if ((dib[maskRow + static_cast<std::size_t>(x) / 8] & (0x80 >> (x % 8))) == 0)
          picture.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                         static_cast<std::size_t>(x)] |= 0xFF000000u;
    }
  }
  return picture;
}

}  // namespace pelmo::ui
