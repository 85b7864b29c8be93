#include "ui/key_shape.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "engine/picture_names.h"

namespace pelmo::ui {
namespace {

namespace names = engine::names;

// A picture drawn from rows of text: '.' is key blue, anything else a colour.
Picture FromRows(const std::vector<std::string>& rows) {
  Picture picture;
  picture.height = static_cast<std::int32_t>(rows.size());
  picture.width = rows.empty() ? 0 : static_cast<std::int32_t>(rows[0].size());
  for (const std::string& row : rows)
    for (char c : row) picture.pixels.push_back(c == '.' ? kKeyBlue : 0x00FFFFCCu);
  return picture;
}

// The shape must cover exactly the non-blue pixels, each once, and be in the
// order the server is told it is in, or the server draws the wrong region.
void ExpectExactAndBanded(const Picture& picture, const std::vector<ScreenRect>& shape) {
  std::vector<int> covered(picture.pixels.size(), 0);
  for (const ScreenRect& r : shape) {
    ASSERT_GT(r.width, 0);
    ASSERT_GT(r.height, 0);
    ASSERT_GE(r.left, 0);
    ASSERT_GE(r.top, 0);
    ASSERT_LE(r.left + r.width, picture.width);
    ASSERT_LE(r.top + r.height, picture.height);
    for (std::int32_t y = r.top; y < r.top + r.height; ++y)
      for (std::int32_t x = r.left; x < r.left + r.width; ++x) ++covered[y * picture.width + x];
  }
  for (std::int32_t y = 0; y < picture.height; ++y)
    for (std::int32_t x = 0; x < picture.width; ++x)
      ASSERT_EQ(covered[y * picture.width + x], picture.At(x, y) == kKeyBlue ? 0 : 1)
          << "pixel " << x << "," << y;
  for (std::size_t i = 1; i < shape.size(); ++i) {
    const ScreenRect& a = shape[i - 1];
    const ScreenRect& b = shape[i];
    const bool sameBand = a.top == b.top && a.height == b.height;
    if (sameBand) {
      EXPECT_LT(a.left + a.width, b.left) << "runs of a band apart and left to right, at " << i;
    } else {
      EXPECT_GE(b.top, a.top + a.height) << "a new band starts below the last, at " << i;
    }
  }
}

TEST(KeyShape, CoversExactlyTheDrawnPixelsInBands) {
  const Picture picture = FromRows({
      "..........",
      "..xxxx....",
      "..xxxx....",
      ".xx..xx.x.",
      ".xx..xx.x.",
      "xxxxxxxxxx",
      "..........",
      "...x......",
      "...x......",
  });
  const std::vector<ScreenRect> shape = KeyShape(picture);
  ExpectExactAndBanded(picture, shape);
  // Alike rows share a band; the blank row between two alike rows splits them.
  const std::vector<ScreenRect> expected = {{2, 1, 4, 2}, {1, 3, 2, 2},  {5, 3, 2, 2},
                                            {8, 3, 1, 2}, {0, 5, 10, 1}, {3, 7, 1, 2}};
  EXPECT_EQ(shape, expected);
}

TEST(KeyShape, RowsThatDifferOnlyInOneRunAreNotMerged) {
  const Picture picture = FromRows({
      "xx.xx.",
      "xx.xxx",
      "xx.xxx",
  });
  const std::vector<ScreenRect> shape = KeyShape(picture);
  ExpectExactAndBanded(picture, shape);
  const std::vector<ScreenRect> expected = {{0, 0, 2, 1}, {3, 0, 2, 1}, {0, 1, 2, 2}, {3, 1, 3, 2}};
  EXPECT_EQ(shape, expected);
}

TEST(KeyShape, AllBlueOrEmptyPicturesHaveNoShape) {
  EXPECT_TRUE(KeyShape(FromRows({"...", "..."})).empty());
  EXPECT_TRUE(KeyShape(Picture{}).empty());
}

TEST(KeyShape, FitsTheProgramsOwnPictures) {
  for (std::string_view name : {names::kBasic1, names::kMigi1, names::kUe2, names::kBig}) {
    SCOPED_TRACE(std::string(name));
    const Picture picture = LoadPicture(name);
    ExpectExactAndBanded(picture, KeyShape(picture));
  }
}

// Only exact key blue disappears: the black outline and blues next to the key
// stay fully opaque, and no pixel is ever half transparent.
TEST(KeyedArgb, HidesExactKeyBlueOnlyAndNeverBlends) {
  EXPECT_EQ(KeyedArgb(kKeyBlue), 0u);
  EXPECT_EQ(KeyedArgb(0x000000u), 0xFF000000u);
  EXPECT_EQ(KeyedArgb(0x0000FEu), 0xFF0000FEu);
  EXPECT_EQ(KeyedArgb(0x0100FFu), 0xFF0100FFu);
  EXPECT_EQ(KeyedArgb(0xFFFFCCu), 0xFFFFFFCCu);
}

// What a compositor shows of a frame is exactly what the shape would show on a
// bare X server.
TEST(KeyedArgb, ShowsExactlyTheShapesPixels) {
  const Picture picture = LoadPicture(names::kBasic1);
  std::vector<bool> shaped(picture.pixels.size(), false);
  for (const ScreenRect& r : KeyShape(picture))
    for (std::int32_t y = r.top; y < r.top + r.height; ++y)
      for (std::int32_t x = r.left; x < r.left + r.width; ++x) shaped[y * picture.width + x] = true;
  for (std::size_t i = 0; i < picture.pixels.size(); ++i)
    ASSERT_EQ(KeyedArgb(picture.pixels[i]) >> 24, shaped[i] ? 0xFFu : 0u) << "pixel " << i;
}

}  // namespace
}  // namespace pelmo::ui
