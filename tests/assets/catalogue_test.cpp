#include <gtest/gtest.h>

#include <set>
#include <string>

#include "assets/catalogue.h"
#include "engine/picture_names.h"

namespace pelmo::assets {
namespace {

namespace names = engine::names;

AssetKind KindOf(std::string_view name) {
  for (const AssetInfo& info : Catalogue()) {
    if (info.name == name) return info.kind;
  }
  ADD_FAILURE() << name << " is not in the catalogue";
  return AssetKind::Bitmap;
}

TEST(Catalogue, EveryNameTheEngineAsksForIsThereWithItsKind) {
  for (std::string_view name : names::kPictures) {
    EXPECT_EQ(KindOf(name), AssetKind::Bitmap) << name;
    EXPECT_TRUE(FindAsset(name).has_value()) << name;
  }
  for (std::string_view name : names::kSounds) {
    EXPECT_EQ(KindOf(name), AssetKind::Wave) << name;
    EXPECT_TRUE(FindAsset(name).has_value()) << name;
  }
  EXPECT_EQ(KindOf(names::kCursor), AssetKind::Cursor);
  EXPECT_EQ(KindOf(names::kIcon), AssetKind::Icon);
}

TEST(Catalogue, NamesAreUniqueAndEachFindsItsOwnNonEmptyFile) {
  std::set<std::string_view> seen;
  std::set<const std::uint8_t*> starts;
  for (const AssetInfo& info : Catalogue()) {
    EXPECT_TRUE(seen.insert(info.name).second) << info.name;
    const auto bytes = FindAsset(info.name);
    ASSERT_TRUE(bytes.has_value()) << info.name;
    EXPECT_GT(bytes->size(), 4u) << info.name;
    EXPECT_TRUE(starts.insert(bytes->data()).second) << info.name;
    const std::string magic(bytes->begin(), bytes->begin() + 4);
    switch (info.kind) {
      case AssetKind::Bitmap:
        EXPECT_EQ(magic.substr(0, 2), "BM") << info.name;
        break;
      case AssetKind::Wave:
        EXPECT_EQ(magic, "RIFF") << info.name;
        break;
      case AssetKind::Cursor:
      case AssetKind::Icon:
        EXPECT_EQ(magic.substr(0, 2), std::string("\0\0", 2)) << info.name;
        break;
    }
  }
  EXPECT_EQ(seen.size(), names::kPictures.size() + names::kSounds.size() + 2);
}

TEST(Catalogue, UnknownAndInexactNamesFindNothing) {
  EXPECT_FALSE(FindAsset("BMP_MUGON").has_value());
  EXPECT_FALSE(FindAsset("bmp_basic1").has_value());
  EXPECT_FALSE(FindAsset("BMP_BASIC").has_value());
  EXPECT_FALSE(FindAsset("").has_value());
}

}  // namespace
}  // namespace pelmo::assets
