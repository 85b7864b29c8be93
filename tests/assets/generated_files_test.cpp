#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "assets/asset_list.h"
#include "tests/assets/asset_bytes.h"

namespace pelmo::assets::test {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The Windows build compiles this script: each asset under its exact name, with its resource
// type, from the file the generator wrote for it.
TEST(GeneratedFiles, ResourceScriptNamesEveryAssetWithItsType) {
  std::istringstream script(ReadFile(PELMO_ASSET_RC));
  std::string line;
  std::size_t next = 0;
  while (std::getline(script, line)) {
    if (line.empty() || line.starts_with("//")) continue;
    ASSERT_LT(next, kAssetList.size()) << line;
    const AssetInfo& info = kAssetList[next++];
    const char* type = info.kind == AssetKind::Bitmap   ? "BITMAP"
                       : info.kind == AssetKind::Wave   ? "WAVE"
                       : info.kind == AssetKind::Cursor ? "CURSOR"
                                                        : "ICON";
    const std::string file = std::string(info.name) + FileExtension(info.kind);
    EXPECT_EQ(line, std::string(info.name) + " " + type + " \"" + file + "\"");
    EXPECT_TRUE(fs::exists(fs::path(PELMO_ASSET_RC).parent_path() / file)) << file;
  }
  EXPECT_EQ(next, kAssetList.size());
}

// Drawing everything again gives the very bytes the program carries: nothing depends on the
// time, on memory left uninitialised or on the order of anything unordered.
TEST(GeneratedFiles, GeneratorWritesTheSameBytesEveryRun) {
  const fs::path dir = fs::path(testing::TempDir()) / "pelmo-assets-again";
  fs::remove_all(dir);
  const std::string command =
      std::string("\"") + PELMO_ASSETS_GENERATOR + "\" \"" + dir.string() + "\"";
  ASSERT_EQ(std::system(command.c_str()), 0);
  for (const AssetInfo& info : kAssetList) {
    const std::string again = ReadFile(dir / (std::string(info.name) + FileExtension(info.kind)));
    const auto carried = Bytes(info.name);
    EXPECT_TRUE(again == std::string(carried.begin(), carried.end())) << info.name;
  }
  fs::remove_all(dir);
}

}  // namespace
}  // namespace pelmo::assets::test
