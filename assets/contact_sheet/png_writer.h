#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pelmo::assets::sheet {

// Writes an 8-bit RGB PNG; `rgb` holds three bytes per pixel, top row first. False on failure.
bool WritePng(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb);

}  // namespace pelmo::assets::sheet
