#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "assets/asset_list.h"
#include "assets/catalogue.h"
#include "ui/picture.h"

namespace {

using pelmo::assets::AssetKind;
using pelmo::assets::FileExtension;
using pelmo::assets::FindAsset;

std::vector<std::uint8_t> GeneratedFile(const pelmo::assets::AssetInfo& asset) {
  const std::string path = std::string(PELMO_GENERATED_ASSETS) + "/" + std::string(asset.name) +
                           FileExtension(asset.kind);
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in) << "cannot read " << path;
  return {std::istreambuf_iterator<char>(in), {}};
}

// The resources linked into the executable are exactly the generated files:
// a misnamed or mistyped resource, or a badly rebuilt cursor or icon, shows here.
TEST(Resources, EveryAssetIsTheGeneratedFile) {
  constexpr std::size_t kBmpFileHeader = 14;  // Windows keeps bitmaps without it
  for (const auto& asset : pelmo::assets::Catalogue()) {
    SCOPED_TRACE(std::string(asset.name));
    const auto found = FindAsset(asset.name);
    ASSERT_TRUE(found.has_value());
    std::vector<std::uint8_t> expected = GeneratedFile(asset);
    if (asset.kind == AssetKind::Bitmap) {
      ASSERT_GT(expected.size(), kBmpFileHeader);
      expected.erase(expected.begin(), expected.begin() + kBmpFileHeader);
    }
    EXPECT_EQ(std::vector<std::uint8_t>(found->begin(), found->end()), expected);
  }
}

TEST(Resources, PicturesDecodeFromTheModule) {
  const pelmo::ui::Picture big = pelmo::ui::LoadPicture("BMP_BIG");
  EXPECT_EQ(big.width, 1200);
  EXPECT_EQ(big.height, 800);
  EXPECT_EQ(big.At(0, 0), pelmo::ui::kKeyBlue);
  const pelmo::ui::Picture basic = pelmo::ui::LoadPicture("BMP_BASIC1");
  EXPECT_EQ(basic.width, 150);
  EXPECT_EQ(basic.height, 100);
}

TEST(Resources, UnknownNamesAreNotFound) {
  EXPECT_FALSE(FindAsset("BMP_NOSUCH").has_value());
  EXPECT_FALSE(FindAsset("bmp_basic1").has_value());
  EXPECT_THROW(pelmo::ui::LoadPicture("BMP_NOSUCH"), pelmo::ui::PictureError);
}

}  // namespace
