// pelmo-sim: runs the mascot's behaviour on a virtual desktop from a scenario on
// standard input and prints the whole state as one JSON line per step; on request
// it also draws every tick as the desktop would show it.
#include <algorithm>
#include <charconv>
#include <exception>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include "tools/scenario.h"
#include "tools/storyboard_files.h"

namespace {

constexpr std::string_view kUsage =
    "usage: pelmo-sim [--storyboard DIR] [--gif FILE] [--crop L T R B | --crop action]\n"
    "                 [--shrink N] [--every N] < scenario\n"
    "  --storyboard DIR  one PNG per tick (DIR/tick-000001.png ...) of the work area\n"
    "  --gif FILE        a looping animation of the whole scenario, cropped to the action\n"
    "  --crop            the screen region both show (right and bottom exclusive), or\n"
    "                    'action': around everything the windows showed\n"
    "  --shrink N        reduce the pictures N times; --every N  keep every N-th tick\n";

struct Options {
  std::optional<std::string> storyboardDir;
  std::optional<std::string> gifPath;
  std::optional<pelmo::ui::ScreenRect> crop;
  bool cropToAction = false;
  std::int32_t shrink = 1;
  std::int32_t every = 1;
};

class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

std::int32_t Number(std::string_view text, std::string_view option, std::int64_t min) {
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < min ||
      value > 2147483647) {
    throw UsageError(std::string(option) + ": '" + std::string(text) + "' is not a number" +
                     (min > -2147483648LL ? " of at least " + std::to_string(min) : ""));
  }
  return static_cast<std::int32_t>(value);
}

Options Parse(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    const std::string_view option = argv[i];
    const auto argument = [&](int n) {
      if (i + n >= argc) throw UsageError(std::string(option) + " needs an argument");
      return std::string_view(argv[i + n]);
    };
    if (option == "--storyboard") {
      o.storyboardDir = argument(1);
      ++i;
    } else if (option == "--gif") {
      o.gifPath = argument(1);
      ++i;
    } else if (option == "--crop" && argument(1) == "action") {
      o.cropToAction = true;
      ++i;
    } else if (option == "--crop") {
      const std::int32_t left = Number(argument(1), option, -2147483648LL);
      const std::int32_t top = Number(argument(2), option, -2147483648LL);
      const std::int32_t right = Number(argument(3), option, -2147483648LL);
      const std::int32_t bottom = Number(argument(4), option, -2147483648LL);
      if (std::int64_t{right} - left <= 0 || std::int64_t{bottom} - top <= 0 ||
          (std::int64_t{right} - left) * (std::int64_t{bottom} - top) > (1 << 26))
        throw UsageError("--crop: the region must be non-empty and at most 64 megapixels");
      o.crop = pelmo::ui::ScreenRect{left, top, right - left, bottom - top};
      i += 4;
    } else if (option == "--shrink") {
      o.shrink = Number(argument(1), option, 1);
      ++i;
    } else if (option == "--every") {
      o.every = Number(argument(1), option, 1);
      ++i;
    } else {
      throw UsageError("unknown option '" + std::string(option) + "'");
    }
  }
  return o;
}

void WriteStoryboards(const pelmo::tools::Storyboard& storyboard, const Options& o) {
  using pelmo::tools::StoryboardCut;
  const pelmo::engine::WorkArea desk = storyboard.Desktop();
  const auto span = [](std::int32_t low, std::int32_t high) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(std::int64_t{high} - low, 1, 65535));
  };
  const pelmo::ui::ScreenRect whole{desk.left, desk.top, span(desk.left, desk.right),
                                    span(desk.top, desk.bottom)};
  const pelmo::ui::ScreenRect action = storyboard.ActionBounds(24);
  const auto region = [&](const pelmo::ui::ScreenRect& fallback) {
    return o.crop ? *o.crop : o.cropToAction ? action : fallback;
  };
  if (o.storyboardDir)
    WriteStoryboardPngs(storyboard, *o.storyboardDir,
                        StoryboardCut{region(whole), o.shrink, o.every});
  if (o.gifPath)
    WriteStoryboardGif(storyboard, *o.gifPath, StoryboardCut{region(action), o.shrink, o.every});
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  try {
    options = Parse(argc, argv);
  } catch (const UsageError& e) {
    std::cerr << "pelmo-sim: " << e.what() << '\n' << kUsage;
    return 2;
  }
  std::ios::sync_with_stdio(false);
  pelmo::tools::Simulator simulator;
  std::optional<pelmo::tools::Storyboard> storyboard;
  if (options.storyboardDir || options.gifPath) {
    storyboard.emplace();
    simulator.SetTickObserver([&storyboard](const pelmo::engine::Engine& engine) {
      storyboard->Record(engine.GetScene());
    });
  }
  try {
    const int status = simulator.Run(std::cin, std::cout, std::cerr);
    if (storyboard) WriteStoryboards(*storyboard, options);
    return status;
  } catch (const std::exception& e) {
    std::cerr << "pelmo-sim: " << e.what() << '\n';
    return 1;
  }
}
