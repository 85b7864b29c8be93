#include "assets/contact_sheet/png_writer.h"

#include <zlib.h>

#include <fstream>
#include <string_view>

namespace pelmo::assets::sheet {
namespace {

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void PutChunk(std::vector<std::uint8_t>& out, std::string_view type,
              const std::vector<std::uint8_t>& data) {
  Put32(out, static_cast<std::uint32_t>(data.size()));
  const std::size_t start = out.size();
  out.insert(out.end(), type.begin(), type.end());
  out.insert(out.end(), data.begin(), data.end());
  const uLong crc = crc32(0, out.data() + start, static_cast<uInt>(out.size() - start));
  Put32(out, static_cast<std::uint32_t>(crc));
}

}  // namespace

bool WritePng(const std::string& path, int width, int height,
              const std::vector<std::uint8_t>& rgb) {
  // Each row is stored as its difference from the row above ("Up" filter): scaled pictures repeat
  // their rows, which then compress to almost nothing.
  const std::size_t stride = static_cast<std::size_t>(width) * 3;
  std::vector<std::uint8_t> raw;
  raw.reserve((stride + 1) * height);
  for (int y = 0; y < height; ++y) {
    raw.push_back(2);
    for (std::size_t i = 0; i < stride; ++i) {
      const std::uint8_t above = y > 0 ? rgb[(y - 1) * stride + i] : 0;
      raw.push_back(static_cast<std::uint8_t>(rgb[y * stride + i] - above));
    }
  }
  uLongf packed_size = compressBound(static_cast<uLong>(raw.size()));
  std::vector<std::uint8_t> packed(packed_size);
  if (compress2(packed.data(), &packed_size, raw.data(), static_cast<uLong>(raw.size()), 9) !=
      Z_OK) {
    return false;
  }
  packed.resize(packed_size);

  std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  std::vector<std::uint8_t> header;
  Put32(header, static_cast<std::uint32_t>(width));
  Put32(header, static_cast<std::uint32_t>(height));
  header.insert(header.end(),
                {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, no filter set, no interlace
  PutChunk(png, "IHDR", header);
  PutChunk(png, "IDAT", packed);
  PutChunk(png, "IEND", {});
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
  return static_cast<bool>(out);
}

}  // namespace pelmo::assets::sheet
