#include "app/command_line.h"

#include <string_view>

#include "pelmo_version.h"

namespace pelmo::app {
namespace {

constexpr std::string_view kHelp =
    "Pelmo " PELMO_VERSION
    ", a desktop mascot: a small cream-coloured blob that wanders over your desktop.\n"
    "\n"
    "Usage: pelmo            start the mascot\n"
    "       pelmo --help     show this text\n"
    "       pelmo --version  show the version\n"
    "\n"
    "Hold the left button on it to carry it; the right button opens its menu (end it, put it\n"
    "away into the tray, serve it a meal). A double-click sends it away and ends the program.\n"
    "A put-away mascot comes back with a double-click on its tray icon or the tray menu's\n"
    "first item. It reads no settings and writes no files: every start begins afresh.";

}  // namespace

CommandLine ParseCommandLine(int argc, const char* const* argv) {
  if (argc <= 1) return {};
  const std::string_view first = argv[1];
  if (argc == 2 && (first == "--help" || first == "-h")) {
    return {CommandLine::Request::Help, std::string(kHelp), 0};
  }
  if (argc == 2 && (first == "--version" || first == "-V")) {
    return {CommandLine::Request::Version, "pelmo " PELMO_VERSION, 0};
  }
  // Name the first argument that is not understood; a known one followed by more is refused
  // for the extra argument, so the message always points at what to remove.
  const bool known = first == "--help" || first == "-h" || first == "--version" || first == "-V";
  const std::string_view bad = known ? std::string_view(argv[2]) : first;
  return {CommandLine::Request::Error,
          "pelmo: unexpected argument '" + std::string(bad) + "' (pelmo --help lists the options)",
          2};
}

}  // namespace pelmo::app
