#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "tests/assets/asset_bytes.h"

namespace pelmo::assets::test {
namespace {

struct Expected {
  const char* name;
  int width, height;
  int x0, x1, y0, y1;  // the figure's columns and rows, inclusive
};

// Every 24-bit picture with its size and the box its figure fills.
constexpr Expected kPictures[] = {
    {"BMP_BASIC1", 150, 100, 17, 141, 19, 90},   {"BMP_BASIC2", 150, 100, 15, 141, 11, 87},
    {"BMP_MIGI1", 150, 100, 8, 132, 19, 90},     {"BMP_MIGI2", 150, 100, 8, 134, 11, 87},
    {"BMP_UE1", 150, 100, 27, 119, 1, 99},       {"BMP_UE2", 150, 100, 28, 113, 0, 98},
    {"BMP_SHITA1", 150, 100, 35, 115, 5, 93},    {"BMP_SHITA2", 150, 100, 33, 117, 9, 92},
    {"BMP_SLEEP1", 150, 100, 27, 137, 3, 94},    {"BMP_SLEEP2", 150, 100, 27, 137, 4, 94},
    {"BMP_EAT1", 150, 100, 31, 132, 23, 89},     {"BMP_EAT2", 150, 100, 25, 131, 20, 79},
    {"BMP_GURU1", 150, 100, 19, 141, 25, 92},    {"BMP_GURU2", 168, 100, 23, 150, 23, 90},
    {"BMP_DRUNK1", 150, 100, 25, 130, 15, 92},   {"BMP_DRUNK2", 150, 100, 22, 123, 14, 92},
    {"BMP_BUNRETSU1", 150, 100, 23, 129, 5, 96}, {"BMP_BUNRETSU2", 150, 100, 25, 127, 6, 96},
    {"BMP_BUNRETSU3", 150, 100, 13, 124, 1, 99}, {"BMP_NANAME", 150, 100, 17, 141, 13, 88},
    {"BMP_NAKI", 150, 100, 22, 121, 12, 89},     {"BMP_ANGEL", 100, 150, 2, 97, 13, 147},
    {"BMP_AME", 79, 59, 13, 69, 9, 48},          {"BMP_NARUTO", 54, 55, 8, 49, 9, 47},
    {"BMP_DANGO", 110, 131, 17, 82, 13, 115},    {"BMP_BEER", 94, 90, 6, 86, 5, 83},
    {"BMP_RAIN", 123, 555, 0, 116, 5, 536},      {"BMP_CLOUD1", 184, 107, 31, 147, 13, 106},
    {"BMP_SUN1", 300, 200, 67, 228, 22, 174},    {"BMP_SUN2", 300, 200, 74, 234, 24, 177},
};

bool NearBlue(Rgb8 c) {
  return c != kKeyBlue && c.r <= 8 && c.g <= 8 && c.b >= 240;
}

std::map<Rgb8, int> DrawingColours(const DecodedBmp& p) {
  std::map<Rgb8, int> counts;
  for (Rgb8 c : p.pixels) {
    if (c != kKeyBlue) ++counts[c];
  }
  return counts;
}

TEST(Pictures, AreBottomUp24BitOnBlueWithTheFigureExactlyInItsBox) {
  for (const Expected& e : kPictures) {
    SCOPED_TRACE(e.name);
    const auto bytes = Bytes(e.name);
    const DecodedBmp p = Picture(e.name);
    EXPECT_EQ(p.bits_per_pixel, 24);
    EXPECT_TRUE(p.bottom_up);
    EXPECT_EQ(Le32(bytes, 30), 0u);  // uncompressed
    ASSERT_EQ(p.width, e.width);
    ASSERT_EQ(p.height, e.height);
    EXPECT_EQ(bytes.size(), 54u + (e.width * 3 + 3) / 4 * 4 * e.height);
    for (auto [x, y] :
         {std::pair{0, 0}, {e.width - 1, 0}, {0, e.height - 1}, {e.width - 1, e.height - 1}}) {
      EXPECT_EQ(p.at(x, y), kKeyBlue) << "corner " << x << "," << y;
    }
    int x0 = e.width, x1 = -1, y0 = e.height, y1 = -1;
    for (int y = 0; y < p.height; ++y) {
      for (int x = 0; x < p.width; ++x) {
        if (p.at(x, y) == kKeyBlue) continue;
        x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
      }
    }
    EXPECT_EQ(x0, e.x0);
    EXPECT_EQ(x1, e.x1);
    EXPECT_EQ(y0, e.y0);
    EXPECT_EQ(y1, e.y1);
  }
}

// The drawings fade into the key colour; the faintest edge pixels stay a hair away from it, so
// they show as a thin dark-blue rim instead of holes.
TEST(Pictures, EdgesBlendIntoBlueWithNearBluePixelsThatAreNotTheKey) {
  for (const Expected& e : kPictures) {
    SCOPED_TRACE(e.name);
    const DecodedBmp p = Picture(e.name);
    int near_blue = 0;
    for (Rgb8 c : p.pixels) near_blue += NearBlue(c);
    EXPECT_GT(near_blue, 0);
  }
}

TEST(Pictures, FacingRightIsThePixelExactMirrorOfFacingLeft) {
  for (auto [left, right] : {std::pair{"BMP_BASIC1", "BMP_MIGI1"}, {"BMP_BASIC2", "BMP_MIGI2"}}) {
    SCOPED_TRACE(right);
    const DecodedBmp a = Picture(left), b = Picture(right);
    for (int y = 0; y < a.height; ++y) {
      for (int x = 0; x < a.width; ++x) ASSERT_EQ(a.at(x, y), b.at(a.width - 1 - x, y));
    }
  }
}

TEST(Pictures, MovingPairsHoldTheSameColoursInTheSameAmounts) {
  for (auto [first, second] : {std::pair{"BMP_SLEEP1", "BMP_SLEEP2"},
                               {"BMP_DRUNK1", "BMP_DRUNK2"},
                               {"BMP_GURU1", "BMP_GURU2"}}) {
    SCOPED_TRACE(first);
    EXPECT_EQ(DrawingColours(Picture(first)), DrawingColours(Picture(second)));
  }
}

// Every row of the dizzy frame reappears two rows higher, moved right by nothing at the bottom of
// the figure up to twelve pixels at its top.
TEST(Pictures, SecondDizzyFrameIsTheFirstSlanted) {
  const DecodedBmp a = Picture("BMP_GURU1"), b = Picture("BMP_GURU2");
  for (int y = 25; y <= 92; ++y) {
    const int shift = static_cast<int>(std::lround(12.0 * (92 - y) / (92 - 25)));
    for (int x = 0; x < a.width; ++x) {
      ASSERT_EQ(a.at(x, y), b.at(x + shift, y - 2)) << x << "," << y;
    }
  }
}

// The sleeping body stays put while its bubble drifts 5 right and 1 down.
TEST(Pictures, SleepingBodyStaysWhileTheBubbleDrifts) {
  const DecodedBmp a = Picture("BMP_SLEEP1"), b = Picture("BMP_SLEEP2");
  for (int y = 60; y < a.height; ++y) {
    for (int x = 0; x < a.width; ++x) ASSERT_EQ(a.at(x, y), b.at(x, y)) << x << "," << y;
  }
  for (int y = 3; y < 20; ++y) {
    for (int x = 27; x < 110; ++x) ASSERT_EQ(a.at(x, y), b.at(x + 5, y + 1)) << x << "," << y;
  }
}

}  // namespace
}  // namespace pelmo::assets::test
