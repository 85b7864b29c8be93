#pragma once

#include <string>

namespace pelmo::app {

// What the program's command line asks for. The mascot itself takes no arguments; the only
// ones understood answer a question and end the program before any window opens.
struct CommandLine {
  enum class Request { Run, Help, Version, Error };
  Request request = Request::Run;
  std::string text;   // what to print for Help, Version and Error (one line, no newline)
  int exit_code = 0;  // 0, or 2 for a bad command line
};

CommandLine ParseCommandLine(int argc, const char* const* argv);

}  // namespace pelmo::app
