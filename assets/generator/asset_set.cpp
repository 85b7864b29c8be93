#include "assets/generator/asset_set.h"

#include <stdexcept>

namespace pelmo::assets::gen {
namespace {

std::string Describe(const PixelBox& b) {
  return "x " + std::to_string(b.x0) + "-" + std::to_string(b.x1) + ", y " + std::to_string(b.y0) +
         "-" + std::to_string(b.y1);
}

}  // namespace

void AssetSet::AddPicture(const std::string& name, const Picture& picture, PixelBox expected) {
  const PixelBox got = picture.FigureBox();
  if (!(got == expected)) {
    throw std::runtime_error(name + " fills " + Describe(got) + " instead of " +
                             Describe(expected));
  }
  Add(name, EncodeBmp24(picture));
}

void AssetSet::Add(const std::string& name, Bytes bytes) {
  assets_.push_back({name, std::move(bytes)});
}

void RequireSameColours(const std::string& name, const Picture& a, const Picture& b) {
  auto without_key = [](const Picture& p) {
    auto counts = p.ColourCounts();
    counts.erase(kKeyBlue);
    return counts;
  };
  if (without_key(a) != without_key(b)) {
    throw std::runtime_error(name + ": the two frames do not hold the same colours");
  }
}

}  // namespace pelmo::assets::gen
