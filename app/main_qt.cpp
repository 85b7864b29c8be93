// pelmo: the program on a Linux X11 desktop. The mascot takes nothing on its command line;
// --help and --version answer and end the program before Qt opens the display.
#include <cstdio>

#include "app/command_line.h"
#include "ui/qt/application.h"
#include "ui/qt/footprint.h"

int main(int argc, char** argv) {
  pelmo::ui::qt::ShareOneHeap();  // before any thread starts
  using pelmo::app::CommandLine;
  const CommandLine command = pelmo::app::ParseCommandLine(argc, argv);
  if (command.request == CommandLine::Request::Run) {
    return pelmo::ui::qt::RunApplication(argc, argv);
  }
  std::FILE* out = command.request == CommandLine::Request::Error ? stderr : stdout;
  std::fprintf(out, "%s\n", command.text.c_str());
  return command.exit_code;
}
