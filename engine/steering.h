#pragma once

#include <cstdint>
#include <string_view>

namespace pelmo::engine {

// The bounded approach step on one axis for a signed distance d (target minus
// position): d / 5 truncated toward zero, limited to -10..+10.
std::int32_t AxisStep(std::int64_t d);

// The facing frame for a step (sx, sy): left/none, down, up or right, the frame
// ending in "1" on even ticks and in "2" on odd ones.
std::string_view FacingFrame(std::int32_t sx, std::int32_t sy, std::int32_t tick);

}  // namespace pelmo::engine
