// libFuzzer target: any bytes either decode into a picture whose size matches
// its pixels, or raise PictureError; nothing else may happen.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "ui/picture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    const pelmo::ui::Picture p = pelmo::ui::DecodeBmp(std::span(data, size));
    if (p.width <= 0 || p.height <= 0 ||
        p.pixels.size() != static_cast<std::size_t>(p.width) * static_cast<std::size_t>(p.height))
      std::abort();
  } catch (const pelmo::ui::PictureError&) {
  }
  return 0;
}
