// The asset catalogue of the Windows build: every asset is a named resource of
// the executable (compiled in by windres), so the lookup reads the module's own
// resources instead of a second, embedded copy of the same bytes.
#include <windows.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "assets/asset_list.h"
#include "assets/catalogue.h"

namespace pelmo::assets {

namespace {

using Bytes = std::span<const std::uint8_t>;

std::optional<Bytes> ResourceBytes(LPCSTR name, LPCSTR type) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC info = FindResourceA(module, name, type);
  if (info == nullptr) return std::nullopt;
  HGLOBAL handle = LoadResource(module, info);
  const void* data = handle != nullptr ? LockResource(handle) : nullptr;
  if (data == nullptr) return std::nullopt;
  return Bytes(static_cast<const std::uint8_t*>(data), SizeofResource(module, info));
}

template <typename T>
T ReadAt(Bytes bytes, std::size_t offset) {
  T value{};
  std::memcpy(&value, bytes.data() + offset, sizeof value);
  return value;
}

template <typename T>
void Append(std::vector<std::uint8_t>& out, T value) {
  const auto* raw = reinterpret_cast<const std::uint8_t*>(&value);
  out.insert(out.end(), raw, raw + sizeof value);
}

// Windows keeps a cursor or icon as a group directory plus one resource per
// image; the file form has the same directory with offsets and the images
// appended. Cursor images start with their hot spot, which the file keeps in
// the directory entry instead.
std::optional<std::vector<std::uint8_t>> RebuildIconFile(LPCSTR name, bool cursor) {
  const auto group = ResourceBytes(name, cursor ? RT_GROUP_CURSOR : RT_GROUP_ICON);
  constexpr std::size_t kHeader = 6, kGroupEntry = 14, kFileEntry = 16;
  if (!group || group->size() < kHeader) return std::nullopt;
  const auto count = ReadAt<std::uint16_t>(*group, 4);
  if (group->size() < kHeader + count * kGroupEntry) return std::nullopt;

  std::vector<std::uint8_t> directory(group->begin(), group->begin() + kHeader);
  std::vector<std::uint8_t> images;
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t entry = kHeader + i * kGroupEntry;
    const auto id = ReadAt<std::uint16_t>(*group, entry + 12);
    auto image = ResourceBytes(MAKEINTRESOURCEA(id), cursor ? RT_CURSOR : RT_ICON);
    if (!image) return std::nullopt;
    if (cursor) {
      constexpr std::size_t kHotSpot = 4, kBitCountInDib = 14;
      if (image->size() < kHotSpot + kBitCountInDib + 2) return std::nullopt;
      const auto width = ReadAt<std::uint16_t>(*group, entry);
      const auto height = ReadAt<std::uint16_t>(*group, entry + 2) / 2;  // mask included
      // The group's own bit count is not reliable for cursors; the image's header is.
      const auto bitCount = ReadAt<std::uint16_t>(*image, kHotSpot + kBitCountInDib);
      Append<std::uint8_t>(directory, static_cast<std::uint8_t>(width));
      Append<std::uint8_t>(directory, static_cast<std::uint8_t>(height));
      Append<std::uint8_t>(directory, bitCount < 8 ? std::uint8_t(1u << bitCount) : 0);
      Append<std::uint8_t>(directory, 0);
      Append<std::uint16_t>(directory, ReadAt<std::uint16_t>(*image, 0));  // hot spot x
      Append<std::uint16_t>(directory, ReadAt<std::uint16_t>(*image, 2));  // hot spot y
      image = image->subspan(kHotSpot);
    } else {
      directory.insert(directory.end(), group->begin() + entry, group->begin() + entry + 8);
    }
    Append<std::uint32_t>(directory, static_cast<std::uint32_t>(image->size()));
    Append<std::uint32_t>(directory, 0);  // offset, filled in below
    images.insert(images.end(), image->begin(), image->end());
  }
  std::uint32_t offset = static_cast<std::uint32_t>(kHeader + count * kFileEntry);
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t entry = kHeader + i * kFileEntry;
    std::memcpy(directory.data() + entry + 12, &offset, sizeof offset);
    offset += ReadAt<std::uint32_t>(Bytes(directory), entry + 8);
  }
  directory.insert(directory.end(), images.begin(), images.end());
  return directory;
}

}  // namespace

std::span<const AssetInfo> Catalogue() {
  return kAssetList;
}

// Bitmaps come back as Windows keeps them, a packed DIB without the file header
// (the picture decoder reads both); waves are stored whole; cursor and icon
// files are rebuilt once and kept for the life of the process.
std::optional<std::span<const std::uint8_t>> FindAsset(std::string_view name) {
  for (const AssetInfo& asset : kAssetList) {
    if (asset.name != name) continue;
    const std::string key(name);
    switch (asset.kind) {
      case AssetKind::Bitmap:
        return ResourceBytes(key.c_str(), RT_BITMAP);
      case AssetKind::Wave:
        return ResourceBytes(key.c_str(), "WAVE");
      case AssetKind::Cursor:
      case AssetKind::Icon: {
        static std::map<std::string, std::vector<std::uint8_t>, std::less<>> rebuilt;
        if (auto found = rebuilt.find(name); found != rebuilt.end()) return Bytes(found->second);
        auto file = RebuildIconFile(key.c_str(), asset.kind == AssetKind::Cursor);
        if (!file) return std::nullopt;
        return Bytes(rebuilt.emplace(key, std::move(*file)).first->second);
      }
    }
  }
  return std::nullopt;
}

}  // namespace pelmo::assets
