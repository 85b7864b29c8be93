#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace pelmo::assets {

enum class AssetKind { Bitmap, Wave, Cursor, Icon };

struct AssetInfo {
  std::string_view name;  // the exact resource name, e.g. "BMP_BASIC1"
  AssetKind kind;
};

// Every asset the program carries, in one table.
std::span<const AssetInfo> Catalogue();

// The bytes of the named asset, as its file would hold them (a BMP, WAV, CUR or
// ICO file), or nothing when no asset has that name. The bytes live as long as
// the process.
std::optional<std::span<const std::uint8_t>> FindAsset(std::string_view name);

}  // namespace pelmo::assets
