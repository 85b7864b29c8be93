#include "ui/picture.h"

#include <string>

#include "assets/catalogue.h"

namespace pelmo::ui {

Picture LoadPicture(std::string_view name) {
  const auto bytes = assets::FindAsset(name);
  if (!bytes) throw PictureError("no picture named \"" + std::string(name) + "\"");
  try {
    return DecodeBmp(*bytes);
  } catch (const PictureError& e) {
    throw PictureError("picture \"" + std::string(name) + "\": " + e.what());
  }
}

}  // namespace pelmo::ui
