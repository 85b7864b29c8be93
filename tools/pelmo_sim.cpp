// pelmo-sim: runs the mascot's behaviour on a virtual desktop from a scenario on
// standard input and prints the whole state as one JSON line per step.
#include <iostream>
#include <string_view>

#include "tools/scenario.h"

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    std::cerr << "pelmo-sim: unknown option '" << std::string_view(argv[i])
              << "'\nusage: pelmo-sim < scenario\n";
    return 2;
  }
  std::ios::sync_with_stdio(false);
  pelmo::tools::Simulator simulator;
  return simulator.Run(std::cin, std::cout, std::cerr);
}
