#pragma once

#include <cstdint>
#include <string>

#include "tools/storyboard.h"

namespace pelmo::tools {

// Which part of the recording goes into the files, and how small.
struct StoryboardCut {
  ui::ScreenRect region;    // screen coordinates
  std::int32_t shrink = 1;  // whole-number reduction, nearest pixel
  std::int32_t every = 1;   // keep every n-th tick
};

// DIR/tick-000001.png, ... one per kept tick (numbered by tick). Creates DIR.
void WriteStoryboardPngs(const Storyboard& storyboard, const std::string& dir,
                         const StoryboardCut& cut);

// One looping animation of the kept ticks at the real pace of 100 ms a tick.
void WriteStoryboardGif(const Storyboard& storyboard, const std::string& path,
                        const StoryboardCut& cut);

}  // namespace pelmo::tools
