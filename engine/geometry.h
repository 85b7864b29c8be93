#pragma once

#include <cstdint>

namespace pelmo::engine {

struct Point {
  std::int32_t x = 0;
  std::int32_t y = 0;
  bool operator==(const Point&) const = default;
};

// The desktop less the taskbar, in screen pixels; right and bottom are exclusive.
struct WorkArea {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 1920;
  std::int32_t bottom = 1040;
  bool operator==(const WorkArea&) const = default;
};

// Screen coordinates are signed 32-bit and nothing clamps them, so moves wrap the
// way the platform's 32-bit integers do instead of overflowing (undefined in C++).
inline std::int32_t Add32(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

// |a - b| for 32-bit coordinates, computed wide so that far-apart windows cannot overflow.
inline std::int64_t Distance1D(std::int32_t a, std::int32_t b) {
  const std::int64_t d = static_cast<std::int64_t>(a) - static_cast<std::int64_t>(b);
  return d < 0 ? -d : d;
}

}  // namespace pelmo::engine
