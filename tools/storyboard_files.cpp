#include "tools/storyboard_files.h"

#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "tools/gif_writer.h"
#include "tools/png_writer.h"

namespace pelmo::tools {

void WriteStoryboardPngs(const Storyboard& storyboard, const std::string& dir,
                         const StoryboardCut& cut) {
  std::error_code error;
  std::filesystem::create_directories(dir, error);
  if (error) throw std::runtime_error(dir + ": " + error.message());
  for (std::size_t i = 0; i < storyboard.FrameCount(); i += static_cast<std::size_t>(cut.every)) {
    char name[32];
    std::snprintf(name, sizeof name, "tick-%06zu.png", i + 1);
    WritePng((std::filesystem::path(dir) / name).string(),
             storyboard.Render(i, cut.region, cut.shrink));
  }
}

void WriteStoryboardGif(const Storyboard& storyboard, const std::string& path,
                        const StoryboardCut& cut) {
  if (storyboard.FrameCount() == 0) throw std::runtime_error(path + ": the scenario ran no tick");
  const ui::Picture first = storyboard.Render(0, cut.region, cut.shrink);
  GifWriter gif(path, first.width, first.height);
  for (std::size_t i = 0; i < storyboard.FrameCount(); i += static_cast<std::size_t>(cut.every))
    gif.AddFrame(storyboard.Render(i, cut.region, cut.shrink), 10 * cut.every);
  gif.Finish();
}

}  // namespace pelmo::tools
