#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "assets/generator/picture.h"

namespace pelmo::assets::gen {

using Bytes = std::vector<std::uint8_t>;

// A picture as a bottom-up, uncompressed 24-bit BMP file.
Bytes EncodeBmp24(const Picture& picture);

// Palette pictures: one index per pixel, top row first.
struct IndexedImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> indices;
};

// An indexed image as a bottom-up, uncompressed 8-bit BMP file with a 256-colour palette.
Bytes EncodeBmp8(const IndexedImage& image, const std::array<Rgb, 256>& palette);

// A 32x32 cursor with 16 colours: `indices` into `palette`, `transparent` marking the cells the
// mask lets through; the hot spot is the top-left pixel.
Bytes EncodeCursor(const IndexedImage& image, const std::array<Rgb, 16>& palette,
                   const std::vector<bool>& transparent);

// A one-image 32x32 icon in 24 bits with its transparency mask.
Bytes EncodeIcon(const Picture& picture, const std::vector<bool>& transparent);

// A square picture with straight (not premultiplied) alpha: red, green, blue, alpha per pixel,
// top row first, for the desktop's icons.
struct RgbaImage {
  int size = 0;
  std::vector<std::uint8_t> rgba;
};

// An RGBA picture as a PNG file (colour type 6, 8 bits a channel).
Bytes EncodePng(const RgbaImage& image);

// Several sizes of one icon in one .ico file: 32-bit pictures with their masks, and the
// 256-pixel one (which Windows shows from Explorer's large views) as PNG to keep it small.
Bytes EncodeIconSet(const std::vector<RgbaImage>& images);

// 16-bit PCM samples, channels interleaved.
Bytes EncodeWav(int channels, int rate, const std::vector<std::int16_t>& samples);

}  // namespace pelmo::assets::gen
