#include "assets/generator/formats.h"

#include <stdexcept>
#include <string_view>

#include <zlib.h>

namespace pelmo::assets::gen {
namespace {

constexpr int kInfoHeaderSize = 40;
constexpr int kPixelsPerMetre = 2835;  // 72 dots per inch

void Put16(Bytes& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(Bytes& out, std::uint32_t v) {
  Put16(out, v & 0xffff);
  Put16(out, v >> 16);
}

void PutText(Bytes& out, std::string_view s) {
  out.insert(out.end(), s.begin(), s.end());
}

int Stride(int width, int bits) {
  return (width * bits + 31) / 32 * 4;
}

// The header every device-independent bitmap starts with; icons and cursors store the height
// doubled, counting the mask below the colour rows.
void PutInfoHeader(Bytes& out, int width, int stored_height, int bits, std::uint32_t image_size,
                   int colours) {
  Put32(out, kInfoHeaderSize);
  Put32(out, static_cast<std::uint32_t>(width));
  Put32(out, static_cast<std::uint32_t>(stored_height));
  Put16(out, 1);
  Put16(out, static_cast<std::uint32_t>(bits));
  Put32(out, 0);
  Put32(out, image_size);
  Put32(out, kPixelsPerMetre);
  Put32(out, kPixelsPerMetre);
  Put32(out, static_cast<std::uint32_t>(colours));
  Put32(out, 0);
}

void PutFileHeader(Bytes& out, std::uint32_t file_size, std::uint32_t pixel_offset) {
  PutText(out, "BM");
  Put32(out, file_size);
  Put32(out, 0);
  Put32(out, pixel_offset);
}

template <std::size_t N>
void PutPalette(Bytes& out, const std::array<Rgb, N>& palette) {
  for (Rgb c : palette) {
    out.insert(out.end(), {c.b, c.g, c.r, 0});
  }
}

void PutRow24(Bytes& out, const Picture& p, int y) {
  for (int x = 0; x < p.width(); ++x) {
    const Rgb c = p.at(x, y);
    out.insert(out.end(), {c.b, c.g, c.r});
  }
  out.resize(out.size() + Stride(p.width(), 24) - p.width() * 3, 0);
}

// The 1-bit AND mask of icons and cursors, bottom row first; a set bit lets the screen through.
void PutMask(Bytes& out, int width, int height, const std::vector<bool>& transparent) {
  for (int y = height - 1; y >= 0; --y) {
    Bytes row(Stride(width, 1), 0);
    for (int x = 0; x < width; ++x) {
      if (transparent[y * width + x]) row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    }
    out.insert(out.end(), row.begin(), row.end());
  }
}

// The directory of an icon (type 1) or cursor (type 2) file holding one image.
void PutDirectory(Bytes& out, int type, int colours, int field_a, int field_b,
                  std::uint32_t image_size) {
  Put16(out, 0);
  Put16(out, static_cast<std::uint32_t>(type));
  Put16(out, 1);
  out.insert(out.end(), {32, 32, static_cast<std::uint8_t>(colours), 0});
  Put16(out, static_cast<std::uint32_t>(field_a));
  Put16(out, static_cast<std::uint32_t>(field_b));
  Put32(out, image_size);
  Put32(out, 6 + 16);
}

void PutBig32(Bytes& out, std::uint32_t v) {
  out.insert(out.end(), {static_cast<std::uint8_t>(v >> 24), static_cast<std::uint8_t>(v >> 16),
                         static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)});
}

void PutPngChunk(Bytes& out, std::string_view type, const Bytes& data) {
  PutBig32(out, static_cast<std::uint32_t>(data.size()));
  const std::size_t start = out.size();
  PutText(out, type);
  out.insert(out.end(), data.begin(), data.end());
  const uLong crc = crc32(0, out.data() + start, static_cast<uInt>(out.size() - start));
  PutBig32(out, static_cast<std::uint32_t>(crc));
}

// One icon picture as a device-independent bitmap: 32-bit BGRA rows bottom first, then the
// 1-bit mask, which older readers use and newer ones ignore in favour of the alpha.
Bytes IconBitmap(const RgbaImage& image) {
  const int n = image.size;
  Bytes out;
  PutInfoHeader(out, n, n * 2, 32, Stride(n, 32) * n + Stride(n, 1) * n, 0);
  std::vector<bool> transparent(n * n);
  for (int y = n - 1; y >= 0; --y) {
    for (int x = 0; x < n; ++x) {
      const std::uint8_t* c = &image.rgba[(y * n + x) * 4];
      out.insert(out.end(), {c[2], c[1], c[0], c[3]});
    }
  }
  for (int i = 0; i < n * n; ++i) transparent[i] = image.rgba[i * 4 + 3] == 0;
  PutMask(out, n, n, transparent);
  return out;
}

}  // namespace

Bytes EncodePng(const RgbaImage& image) {
  const int n = image.size;
  Bytes raw;
  raw.reserve((n * 4 + 1) * n);
  for (int y = 0; y < n; ++y) {
    raw.push_back(0);  // no filter: the icons are small and mostly flat
    raw.insert(raw.end(), image.rgba.begin() + y * n * 4, image.rgba.begin() + (y + 1) * n * 4);
  }
  uLongf packed_size = compressBound(static_cast<uLong>(raw.size()));
  Bytes packed(packed_size);
  if (compress2(packed.data(), &packed_size, raw.data(), static_cast<uLong>(raw.size()), 9) !=
      Z_OK) {
    throw std::runtime_error("cannot compress an icon");
  }
  packed.resize(packed_size);

  Bytes out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  Bytes header;
  PutBig32(header, static_cast<std::uint32_t>(n));
  PutBig32(header, static_cast<std::uint32_t>(n));
  header.insert(header.end(), {8, 6, 0, 0, 0});
  PutPngChunk(out, "IHDR", header);
  PutPngChunk(out, "IDAT", packed);
  PutPngChunk(out, "IEND", {});
  return out;
}

Bytes EncodeIconSet(const std::vector<RgbaImage>& images) {
  std::vector<Bytes> bodies;
  for (const RgbaImage& image : images) {
    bodies.push_back(image.size >= 256 ? EncodePng(image) : IconBitmap(image));
  }
  Bytes out;
  Put16(out, 0);
  Put16(out, 1);
  Put16(out, static_cast<std::uint32_t>(images.size()));
  std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
  for (std::size_t i = 0; i < images.size(); ++i) {
    const auto side = static_cast<std::uint8_t>(images[i].size >= 256 ? 0 : images[i].size);
    out.insert(out.end(), {side, side, 0, 0});
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, static_cast<std::uint32_t>(bodies[i].size()));
    Put32(out, offset);
    offset += static_cast<std::uint32_t>(bodies[i].size());
  }
  for (const Bytes& body : bodies) out.insert(out.end(), body.begin(), body.end());
  return out;
}

Bytes EncodeBmp24(const Picture& picture) {
  const std::uint32_t image_size = Stride(picture.width(), 24) * picture.height();
  const std::uint32_t offset = 14 + kInfoHeaderSize;
  Bytes out;
  PutFileHeader(out, offset + image_size, offset);
  PutInfoHeader(out, picture.width(), picture.height(), 24, image_size, 0);
  for (int y = picture.height() - 1; y >= 0; --y) PutRow24(out, picture, y);
  return out;
}

Bytes EncodeBmp8(const IndexedImage& image, const std::array<Rgb, 256>& palette) {
  const int stride = Stride(image.width, 8);
  const std::uint32_t image_size = stride * image.height;
  const std::uint32_t offset = 14 + kInfoHeaderSize + 256 * 4;
  Bytes out;
  PutFileHeader(out, offset + image_size, offset);
  PutInfoHeader(out, image.width, image.height, 8, image_size, 256);
  PutPalette(out, palette);
  for (int y = image.height - 1; y >= 0; --y) {
    const auto row = image.indices.begin() + y * image.width;
    out.insert(out.end(), row, row + image.width);
    out.resize(out.size() + stride - image.width, 0);
  }
  return out;
}

Bytes EncodeCursor(const IndexedImage& image, const std::array<Rgb, 16>& palette,
                   const std::vector<bool>& transparent) {
  const int stride = Stride(image.width, 4);
  const std::uint32_t colour_size = stride * image.height;
  const std::uint32_t mask_size = Stride(image.width, 1) * image.height;
  const std::uint32_t total = kInfoHeaderSize + 16 * 4 + colour_size + mask_size;
  Bytes out;
  PutDirectory(out, 2, 16, 0, 0, total);  // the hot spot sits where icons keep planes and bits
  PutInfoHeader(out, image.width, image.height * 2, 4, colour_size + mask_size, 16);
  PutPalette(out, palette);
  for (int y = image.height - 1; y >= 0; --y) {
    Bytes row(stride, 0);
    for (int x = 0; x < image.width; ++x) {
      const std::uint8_t index = image.indices[y * image.width + x] & 0x0f;
      row[x / 2] |= static_cast<std::uint8_t>(x % 2 == 0 ? index << 4 : index);
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  PutMask(out, image.width, image.height, transparent);
  return out;
}

Bytes EncodeIcon(const Picture& picture, const std::vector<bool>& transparent) {
  const std::uint32_t colour_size = Stride(picture.width(), 24) * picture.height();
  const std::uint32_t mask_size = Stride(picture.width(), 1) * picture.height();
  const std::uint32_t total = kInfoHeaderSize + colour_size + mask_size;
  Bytes out;
  PutDirectory(out, 1, 0, 1, 24, total);
  PutInfoHeader(out, picture.width(), picture.height() * 2, 24, colour_size + mask_size, 0);
  for (int y = picture.height() - 1; y >= 0; --y) PutRow24(out, picture, y);
  PutMask(out, picture.width(), picture.height(), transparent);
  return out;
}

Bytes EncodeWav(int channels, int rate, const std::vector<std::int16_t>& samples) {
  const std::uint32_t data_size = static_cast<std::uint32_t>(samples.size() * 2);
  Bytes out;
  PutText(out, "RIFF");
  Put32(out, 4 + 8 + 16 + 8 + data_size);
  PutText(out, "WAVEfmt ");
  Put32(out, 16);
  Put16(out, 1);  // PCM
  Put16(out, static_cast<std::uint32_t>(channels));
  Put32(out, static_cast<std::uint32_t>(rate));
  Put32(out, static_cast<std::uint32_t>(rate * channels * 2));
  Put16(out, static_cast<std::uint32_t>(channels * 2));
  Put16(out, 16);
  PutText(out, "data");
  Put32(out, data_size);
  for (std::int16_t s : samples) Put16(out, static_cast<std::uint16_t>(s));
  return out;
}

}  // namespace pelmo::assets::gen
