#include "ui/key_shape.h"

#include <algorithm>
#include <cstddef>

namespace pelmo::ui {

std::vector<ScreenRect> KeyShape(const Picture& picture) {
  std::vector<ScreenRect> bands;
  std::size_t band = 0;  // where the band the last row joined begins
  for (std::int32_t y = 0; y < picture.height; ++y) {
    const std::size_t row = bands.size();
    for (std::int32_t x = 0; x < picture.width;) {
      if (picture.At(x, y) == kKeyBlue) {
        ++x;
        continue;
      }
      const std::int32_t start = x;
      while (x < picture.width && picture.At(x, y) != kKeyBlue) ++x;
      bands.push_back({start, y, x - start, 1});
    }
    const auto at = [&bands](std::size_t i) {
      return bands.begin() + static_cast<std::ptrdiff_t>(i);
    };
    const bool alike = row > band && row - band == bands.size() - row &&
                       bands[row - 1].top + bands[row - 1].height == y &&
                       std::equal(at(band), at(row), at(row), [](const auto& a, const auto& b) {
                         return a.left == b.left && a.width == b.width;
                       });
    if (alike) {
      for (std::size_t i = band; i < row; ++i) ++bands[i].height;
      bands.resize(row);
    } else {
      band = row;
    }
  }
  return bands;
}

}  // namespace pelmo::ui
