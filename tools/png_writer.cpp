#include "tools/png_writer.h"

#include <zlib.h>

#include <fstream>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace pelmo::tools {

namespace {

void PutBig32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void PutChunk(std::vector<std::uint8_t>& out, std::string_view type,
              const std::vector<std::uint8_t>& data) {
  PutBig32(out, static_cast<std::uint32_t>(data.size()));
  const std::size_t typeAt = out.size();
  out.insert(out.end(), type.begin(), type.end());
  out.insert(out.end(), data.begin(), data.end());
  const uLong crc = crc32(0, out.data() + typeAt, static_cast<uInt>(out.size() - typeAt));
  PutBig32(out, static_cast<std::uint32_t>(crc));
}

}  // namespace

void WritePng(const std::string& path, const ui::Picture& picture) {
  // Each row as its difference from the row above (the "Up" filter): enlarged
  // and flat-coloured pictures repeat their rows, which then pack to almost nothing.
  const auto width = static_cast<std::size_t>(picture.width);
  const std::size_t stride = width * 3;
  std::vector<std::uint8_t> raw;
  raw.reserve((stride + 1) * static_cast<std::size_t>(picture.height));
  for (std::int32_t y = 0; y < picture.height; ++y) {
    raw.push_back(2);
    for (std::int32_t x = 0; x < picture.width; ++x) {
      const std::uint32_t c = picture.At(x, y);
      const std::uint32_t above = y > 0 ? picture.At(x, y - 1) : 0;
      raw.push_back(static_cast<std::uint8_t>((c >> 16) - (above >> 16)));
      raw.push_back(static_cast<std::uint8_t>((c >> 8) - (above >> 8)));
      raw.push_back(static_cast<std::uint8_t>(c - above));
    }
  }
  uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
  std::vector<std::uint8_t> packed(packedSize);
  if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 1) != Z_OK)
    throw std::runtime_error(path + ": compression failed");
  packed.resize(packedSize);

  std::vector<std::uint8_t> header;
  PutBig32(header, static_cast<std::uint32_t>(picture.width));
  PutBig32(header, static_cast<std::uint32_t>(picture.height));
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, deflate, no filter set, no interlace

  std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  PutChunk(png, "IHDR", header);
  PutChunk(png, "IDAT", packed);
  PutChunk(png, "IEND", {});

  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
  if (!file.flush()) throw std::runtime_error(path + ": cannot write");
}

}  // namespace pelmo::tools
