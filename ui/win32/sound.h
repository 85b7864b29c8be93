#pragma once

#include <string_view>

namespace pelmo::ui::win32 {

// The program's one sound channel: wave resources of its own module, played in
// the background; a new cue cuts the old one.
void PlayCue(std::string_view name);
void StopCue();

}  // namespace pelmo::ui::win32
