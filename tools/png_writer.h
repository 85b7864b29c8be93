#pragma once

#include <string>

#include "ui/picture.h"

namespace pelmo::tools {

// Writes `picture` as an 8-bit RGB PNG, compressed for speed rather than size.
// Throws std::runtime_error naming the file when it cannot be written.
void WritePng(const std::string& path, const ui::Picture& picture);

}  // namespace pelmo::tools
