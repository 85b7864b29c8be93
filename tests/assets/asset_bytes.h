#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

#include "assets/catalogue.h"
#include "tests/assets/bmp_reader.h"

namespace pelmo::assets::test {

// The embedded bytes of an asset, through the lookup the program uses.
inline std::span<const std::uint8_t> Bytes(std::string_view name) {
  const auto found = FindAsset(name);
  if (!found) throw std::runtime_error("no asset " + std::string(name));
  return *found;
}

inline DecodedBmp Picture(std::string_view name) {
  auto decoded = DecodeBmp(Bytes(name));
  if (!decoded) throw std::runtime_error("cannot decode " + std::string(name));
  return *decoded;
}

inline std::uint32_t Le32(std::span<const std::uint8_t> b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

inline std::uint16_t Le16(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

inline constexpr Rgb8 kKeyBlue{0, 0, 255};

}  // namespace pelmo::assets::test
