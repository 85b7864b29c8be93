// pelmo.exe: the program on a Windows desktop. A GUI-subsystem program built with mingw-w64
// may enter through main. The mascot takes nothing on its command line; --help and --version
// answer and end the program before any window opens.
#include "app/command_line.h"
#include "ui/win32/application.h"
#include "ui/win32/console.h"

int main(int argc, char** argv) {
  using pelmo::app::CommandLine;
  const CommandLine command = pelmo::app::ParseCommandLine(argc, argv);
  if (command.request == CommandLine::Request::Run) return pelmo::ui::win32::RunApplication();
  pelmo::ui::win32::ShowCommandLineAnswer(command.text,
                                          command.request == CommandLine::Request::Error);
  return command.exit_code;
}
