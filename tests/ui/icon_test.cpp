#include "ui/icon.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "assets/catalogue.h"

namespace pelmo::ui {
namespace {

std::vector<std::uint8_t> MainIcon() {
  const auto bytes = assets::FindAsset("MAINICON");
  EXPECT_TRUE(bytes.has_value());
  return bytes ? std::vector<std::uint8_t>(bytes->begin(), bytes->end())
               : std::vector<std::uint8_t>();
}

// The program's icon keeps the transparency its mask gives it on Windows, so a
// tray or a window shows the desktop round the face, not a black square.
TEST(DecodeIcon, TheMainIconIsTransparentWhereItsMaskSays) {
  const Picture icon = DecodeIcon(MainIcon(), 32);
  ASSERT_EQ(icon.width, 32);
  ASSERT_EQ(icon.height, 32);
  const auto clear = std::count_if(icon.pixels.begin(), icon.pixels.end(),
                                   [](std::uint32_t p) { return p >> 24 == 0; });
  const auto solid = std::count_if(icon.pixels.begin(), icon.pixels.end(),
                                   [](std::uint32_t p) { return p >> 24 == 0xFF; });
  EXPECT_EQ(clear, 339);
  EXPECT_EQ(solid, 1024 - 339);
  EXPECT_EQ(icon.At(0, 0) >> 24, 0u);       // a corner
  EXPECT_EQ(icon.At(16, 16), 0xFFFFFFFFu);  // the white face
}

TEST(DecodeIcon, RefusesWhatIsNotAWholeIcon) {
  const std::vector<std::uint8_t> icon = MainIcon();
  for (std::size_t length :
       {std::size_t{0}, std::size_t{5}, std::size_t{21}, std::size_t{100}, icon.size() - 1}) {
    SCOPED_TRACE(length);
    EXPECT_THROW(DecodeIcon(std::span(icon).first(length), 32), PictureError);
  }
  std::vector<std::uint8_t> wrong = icon;
  wrong[2] = 7;  // neither an icon nor a cursor
  EXPECT_THROW(DecodeIcon(wrong, 32), PictureError);
  wrong = icon;
  wrong[22 + 14] = 8;  // a palette image
  EXPECT_THROW(DecodeIcon(wrong, 32), PictureError);
  wrong = icon;
  wrong[21] = 0xFF;  // the image starts past the end
  EXPECT_THROW(DecodeIcon(wrong, 32), PictureError);
}

}  // namespace
}  // namespace pelmo::ui
