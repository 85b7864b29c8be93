#include <gtest/gtest.h>

#include <map>

#include "tests/assets/asset_bytes.h"

namespace pelmo::assets::test {
namespace {

constexpr std::size_t kImage = 22;  // one directory entry after the 6-byte header

// Whether the 1-bit mask, stored bottom row first after the colour rows, lets (x, y) through.
bool MaskSet(std::span<const std::uint8_t> b, std::size_t mask_at, int x, int y) {
  return b[mask_at + (31 - y) * 4 + x / 8] & (0x80 >> (x % 8));
}

TEST(Cursor, Is32By32In16StandardColoursWithItsHotSpotAtTheCorner) {
  const auto b = Bytes("MYCURSOR");
  ASSERT_EQ(b.size(), kImage + 40 + 64 + 512 + 128);
  EXPECT_EQ(Le16(b, 0), 0);
  EXPECT_EQ(Le16(b, 2), 2);  // cursor
  EXPECT_EQ(Le16(b, 4), 1);
  EXPECT_EQ(b[6], 32);
  EXPECT_EQ(b[7], 32);
  EXPECT_EQ(b[8], 16);
  EXPECT_EQ(Le16(b, 10), 0);  // hot spot x
  EXPECT_EQ(Le16(b, 12), 0);  // hot spot y
  EXPECT_EQ(Le32(b, 14), b.size() - kImage);
  EXPECT_EQ(Le32(b, 18), kImage);
  EXPECT_EQ(Le32(b, kImage + 4), 32u);
  EXPECT_EQ(Le32(b, kImage + 8), 64u);  // colour rows and mask
  EXPECT_EQ(Le16(b, kImage + 14), 4);
  const std::uint8_t standard[16][3] = {
      {0, 0, 0},     {128, 0, 0},     {0, 128, 0},     {128, 128, 0},  {0, 0, 128}, {128, 0, 128},
      {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0},    {0, 255, 0}, {255, 255, 0},
      {0, 0, 255},   {255, 0, 255},   {0, 255, 255},   {255, 255, 255}};
  for (int i = 0; i < 16; ++i) {
    const std::size_t at = kImage + 40 + i * 4;
    EXPECT_EQ(b[at + 2], standard[i][0]) << i;
    EXPECT_EQ(b[at + 1], standard[i][1]) << i;
    EXPECT_EQ(b[at], standard[i][2]) << i;
  }
}

// A red strawberry with pale seeds and green leaves, off the hot spot at the top-left corner.
TEST(Cursor, ShowsAStrawberryBelowAndRightOfTheHotSpot) {
  const auto b = Bytes("MYCURSOR");
  const std::size_t colours = kImage + 40 + 64, mask = colours + 512;
  std::map<int, int> uses;
  int x0 = 32, x1 = -1, y0 = 32, y1 = -1;
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      const std::uint8_t pair = b[colours + (31 - y) * 16 + x / 2];
      const int index = x % 2 == 0 ? pair >> 4 : pair & 0x0f;
      if (MaskSet(b, mask, x, y)) {
        EXPECT_EQ(index, 0) << "a see-through pixel must not invert the screen";
        continue;
      }
      ++uses[index];
      x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
    }
  }
  EXPECT_TRUE(MaskSet(b, mask, 0, 0)) << "the hot spot lies off the strawberry";
  EXPECT_NEAR(x0, 3, 1);
  EXPECT_NEAR(x1, 28, 1);
  EXPECT_NEAR(y0, 5, 1);
  EXPECT_NEAR(y1, 25, 1);
  EXPECT_GT(uses[9], uses[10] + uses[2]) << "mostly red";
  EXPECT_GT(uses[10] + uses[2], 0) << "green leaves";
  EXPECT_GT(uses[11] + uses[15], 0) << "pale seeds";
}

TEST(Icon, IsOne32By32ImageIn24BitsWith339TransparentPixels) {
  const auto b = Bytes("MAINICON");
  ASSERT_EQ(b.size(), kImage + 40 + 32 * 32 * 3 + 128);
  EXPECT_EQ(Le16(b, 2), 1);  // icon
  EXPECT_EQ(Le16(b, 4), 1);  // one image
  EXPECT_EQ(b[6], 32);
  EXPECT_EQ(b[7], 32);
  EXPECT_EQ(Le16(b, 12), 24);
  EXPECT_EQ(Le32(b, 18), kImage);
  EXPECT_EQ(Le32(b, kImage + 8), 64u);
  EXPECT_EQ(Le16(b, kImage + 14), 24);
  const std::size_t colours = kImage + 40, mask = colours + 32 * 32 * 3;
  int transparent = 0, white = 0, black = 0;
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      const std::size_t at = colours + (31 - y) * 96 + x * 3;
      const bool clear = MaskSet(b, mask, x, y);
      const bool is_black = b[at] == 0 && b[at + 1] == 0 && b[at + 2] == 0;
      transparent += clear;
      if (clear) {
        EXPECT_TRUE(is_black) << x << "," << y;
      } else {
        black += is_black;
        white += b[at] == 255 && b[at + 1] == 255 && b[at + 2] == 255;
      }
    }
  }
  EXPECT_EQ(transparent, 339);
  EXPECT_GT(white, 300) << "a white face";
  EXPECT_GT(black, 100) << "with a black outline, eyes and tuft";
  for (auto [x, y] : {std::pair{0, 0}, {31, 0}, {0, 31}, {31, 31}}) {
    EXPECT_TRUE(MaskSet(b, mask, x, y)) << "corner " << x << "," << y;
  }
}

}  // namespace
}  // namespace pelmo::assets::test
