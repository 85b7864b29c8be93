#include <gtest/gtest.h>

#include <map>
#include <set>

#include "tests/assets/asset_bytes.h"

namespace pelmo::assets::test {
namespace {

constexpr int kKeyIndex = 252;

class BigPicture : public ::testing::Test {
 protected:
  DecodedBmp big = Picture("BMP_BIG");
  bool Figure(int x, int y) const { return big.indices[y * big.width + x] != kKeyIndex; }
};

TEST_F(BigPicture, Is1200By800At8BitsWithTheStandardPalette) {
  // 961064 bytes of header, palette and pixels, after the 14-byte file header.
  EXPECT_EQ(Bytes("BMP_BIG").size(), 14u + 961064u);
  EXPECT_EQ(big.bits_per_pixel, 8);
  EXPECT_TRUE(big.bottom_up);
  ASSERT_EQ(big.width, 1200);
  ASSERT_EQ(big.height, 800);
  ASSERT_EQ(big.palette.size(), 256u);
  const Rgb8 system[20] = {{0, 0, 0},       {128, 0, 0},     {0, 128, 0},     {128, 128, 0},
                           {0, 0, 128},     {128, 0, 128},   {0, 128, 128},   {192, 192, 192},
                           {192, 220, 192}, {166, 202, 240}, {255, 251, 240}, {160, 160, 164},
                           {128, 128, 128}, {255, 0, 0},     {0, 255, 0},     {255, 255, 0},
                           {0, 0, 255},     {255, 0, 255},   {0, 255, 255},   {255, 255, 255}};
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(big.palette[i], system[i]) << i;
    EXPECT_EQ(big.palette[246 + i], system[10 + i]) << 246 + i;
  }
  EXPECT_EQ(big.palette[10], (Rgb8{64, 32, 0}));
  for (int i = 0; i < 256; ++i) {
    EXPECT_EQ(big.palette[i] == kKeyBlue, i == kKeyIndex) << i;
  }
}

TEST_F(BigPicture, HasHardEdgesBodyAndOutlineColoursAndTwentyOneIndices) {
  std::map<int, int> uses;
  for (std::uint8_t i : big.indices) ++uses[i];
  EXPECT_EQ(uses.size(), 21u);
  const double background = static_cast<double>(uses[kKeyIndex]) / (1200 * 800);
  EXPECT_NEAR(background, 0.421, 0.0005);
  // The body is the largest area, the outline the next.
  std::multimap<int, int, std::greater<>> by_use;
  for (auto [index, count] : uses) {
    if (index != kKeyIndex) by_use.insert({count, index});
  }
  EXPECT_EQ(std::next(by_use.begin(), 0)->second, 246);
  EXPECT_EQ(std::next(by_use.begin(), 1)->second, 10);
  for (Rgb8 c : big.pixels) {
    ASSERT_FALSE(c != kKeyBlue && c.r <= 32 && c.g <= 32 && c.b >= 192) << "near-blue pixel";
  }
}

TEST_F(BigPicture, FillsItsBoxWithCornersBlue) {
  int x0 = 1200, x1 = -1, y0 = 800, y1 = -1;
  for (int y = 0; y < 800; ++y) {
    for (int x = 0; x < 1200; ++x) {
      if (!Figure(x, y)) continue;
      x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
    }
  }
  EXPECT_EQ(x0, 26);
  EXPECT_EQ(x1, 1191);
  EXPECT_EQ(y0, 39);
  EXPECT_EQ(y1, 767);
}

// Laid over the first left-facing frame, box onto box, the giant's silhouette matches it: the
// swelling continues that frame.
TEST_F(BigPicture, RepeatsTheLeftFacingPose) {
  const DecodedBmp basic = Picture("BMP_BASIC1");
  int agree = 0, total = 0;
  for (int y = 19; y <= 90; ++y) {
    for (int x = 17; x <= 141; ++x) {
      const int bx = 26 + static_cast<int>((x - 17 + 0.5) * 1166 / 125);
      const int by = 39 + static_cast<int>((y - 19 + 0.5) * 729 / 72);
      agree += (basic.at(x, y) != kKeyBlue) == Figure(bx, by);
      ++total;
    }
  }
  EXPECT_GT(static_cast<double>(agree) / total, 0.95);
}

}  // namespace
}  // namespace pelmo::assets::test
