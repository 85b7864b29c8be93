#pragma once

#include <string>
#include <vector>

#include "assets/generator/formats.h"
#include "assets/generator/picture.h"

namespace pelmo::assets::gen {

struct MadeAsset {
  std::string name;
  Bytes bytes;
};

// Collects the finished assets by name. Every picture states the box its figure must fill, and is
// refused when it misses it: that is what makes a wrong drawing fail the build.
class AssetSet {
 public:
  void AddPicture(const std::string& name, const Picture& picture, PixelBox expected);
  void Add(const std::string& name, Bytes bytes);
  const std::vector<MadeAsset>& assets() const { return assets_; }

 private:
  std::vector<MadeAsset> assets_;
};

// Two frames of a pair that move parts of one drawing must hold the same colours in the same
// amounts; throws when they do not.
void RequireSameColours(const std::string& name, const Picture& a, const Picture& b);

}  // namespace pelmo::assets::gen
