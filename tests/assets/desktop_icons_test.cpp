#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace pelmo::assets::test {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

Bytes ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t Big32(const Bytes& b, std::size_t at) {
  return std::uint32_t{b[at]} << 24 | std::uint32_t{b[at + 1]} << 16 |
         std::uint32_t{b[at + 2]} << 8 | b[at + 3];
}
std::uint32_t Little16(const Bytes& b, std::size_t at) {
  return b[at] | b[at + 1] << 8;
}
std::uint32_t Little32(const Bytes& b, std::size_t at) {
  return Little16(b, at) | Little16(b, at + 2) << 16;
}

const Bytes kPngSignature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};

// An RGBA PNG as our writer makes it: one IDAT, unfiltered rows. Checks every chunk's CRC.
struct Rgba {
  int width = 0, height = 0;
  Bytes pixels;
  const std::uint8_t* at(int x, int y) const { return &pixels[(y * width + x) * 4]; }
};

Rgba DecodePng(const Bytes& file) {
  Rgba image;
  EXPECT_TRUE(std::equal(kPngSignature.begin(), kPngSignature.end(), file.begin()));
  Bytes packed;
  for (std::size_t at = 8; at + 12 <= file.size();) {
    const std::uint32_t length = Big32(file, at);
    const std::string type(file.begin() + at + 4, file.begin() + at + 8);
    const std::uint8_t* data = file.data() + at + 8;
    EXPECT_EQ(crc32(0, file.data() + at + 4, length + 4), Big32(file, at + 8 + length)) << type;
    if (type == "IHDR") {
      image.width = static_cast<int>(Big32(file, at + 8));
      image.height = static_cast<int>(Big32(file, at + 12));
      EXPECT_EQ(data[8], 8);  // bits per channel
      EXPECT_EQ(data[9], 6);  // RGBA
    }
    if (type == "IDAT") packed.insert(packed.end(), data, data + length);
    at += 12 + length;
  }
  Bytes raw((image.width * 4 + 1) * image.height);
  uLongf raw_size = raw.size();
  EXPECT_EQ(uncompress(raw.data(), &raw_size, packed.data(), packed.size()), Z_OK);
  EXPECT_EQ(raw_size, raw.size());
  for (int y = 0; y < image.height; ++y) {
    const auto row = raw.begin() + y * (image.width * 4 + 1);
    EXPECT_EQ(*row, 0) << "filter of row " << y;
    image.pixels.insert(image.pixels.end(), row + 1, row + 1 + image.width * 4);
  }
  return image;
}

// Every theme size is its own drawing: the corners are clear, the middle is the white face,
// and the outline keeps at least one solid dark pixel in each row it crosses at the top of the
// face, which a 256-pixel picture scaled down to 16 would blur away.
TEST(DesktopIcons, EveryThemeSizeIsDrawnAtThatSize) {
  for (int size : {16, 24, 32, 48, 64, 128, 256}) {
    SCOPED_TRACE(size);
    const Rgba icon =
        DecodePng(ReadFile(fs::path(PELMO_ICON_DIR) / ("pelmo-" + std::to_string(size) + ".png")));
    ASSERT_EQ(icon.width, size);
    ASSERT_EQ(icon.height, size);
    EXPECT_EQ(icon.at(0, size - 1)[3], 0);
    EXPECT_EQ(icon.at(size - 1, size - 1)[3], 0);
    const std::uint8_t* middle = icon.at(size / 2, size * 3 / 4);
    EXPECT_EQ(middle[3], 255);
    EXPECT_GT(middle[0], 200);
    int solid_dark = 0;
    for (int y = 0; y < size / 2; ++y) {
      const std::uint8_t* p = icon.at(size / 2 - size / 8, y);
      if (p[3] == 255 && p[0] < 64) ++solid_dark;
    }
    EXPECT_GE(solid_dark, 1);
  }
}

// Windows picks the picture nearest the size it needs from the .ico: eight sizes, the largest
// as PNG, the others as 32-bit bitmaps with their masks, laid end to end inside the file.
TEST(DesktopIcons, WindowsIconHoldsEightSizesWithPngAt256) {
  const Bytes ico = ReadFile(fs::path(PELMO_ICON_DIR) / "pelmo.ico");
  ASSERT_GE(ico.size(), 6u);
  EXPECT_EQ(Little16(ico, 2), 1u);  // icon, not cursor
  const std::vector<int> sizes{16, 20, 24, 32, 40, 48, 64, 256};
  ASSERT_EQ(Little16(ico, 4), sizes.size());
  std::size_t expected_offset = 6 + 16 * sizes.size();
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    SCOPED_TRACE(sizes[i]);
    const std::size_t entry = 6 + 16 * i;
    const int side = ico[entry] == 0 ? 256 : ico[entry];
    EXPECT_EQ(side, sizes[i]);
    EXPECT_EQ(Little16(ico, entry + 6), 32u);
    const std::uint32_t length = Little32(ico, entry + 8);
    const std::uint32_t offset = Little32(ico, entry + 12);
    EXPECT_EQ(offset, expected_offset);
    ASSERT_LE(offset + length, ico.size());
    expected_offset = offset + length;
    const Bytes body(ico.begin() + offset, ico.begin() + offset + length);
    if (side == 256) {
      EXPECT_EQ(DecodePng(body).width, 256);
    } else {
      EXPECT_EQ(Little32(body, 0), 40u);
      EXPECT_EQ(Little32(body, 8), static_cast<std::uint32_t>(side * 2));
      const std::uint32_t mask_stride = (side + 31) / 32 * 4;
      EXPECT_EQ(length, 40u + side * side * 4 + mask_stride * side);
    }
  }
  EXPECT_EQ(expected_offset, ico.size());
}

}  // namespace
}  // namespace pelmo::assets::test
