#include "assets/catalogue.h"

#include "assets/asset_list.h"

// Written by pelmo-assets at build time: every asset file back to back, and where each starts in
// the order of the asset list, with the end of the last one after them.
extern "C" const std::uint8_t pelmo_asset_data[];
extern "C" const std::uint32_t pelmo_asset_offsets[];

namespace pelmo::assets {

std::span<const AssetInfo> Catalogue() {
  return kAssetList;
}

std::optional<std::span<const std::uint8_t>> FindAsset(std::string_view name) {
  for (std::size_t i = 0; i < kAssetList.size(); ++i) {
    if (kAssetList[i].name != name) continue;
    const std::uint32_t begin = pelmo_asset_offsets[i];
    return std::span<const std::uint8_t>(pelmo_asset_data + begin,
                                         pelmo_asset_offsets[i + 1] - begin);
  }
  return std::nullopt;
}

}  // namespace pelmo::assets
